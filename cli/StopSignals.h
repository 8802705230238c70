#pragma once

#include <QObject>

// Stop requests turned into an ordinary event of the event loop, which they
// wake also while the scan's line reader sleeps in it: on Unix the signals
// Ctrl-C (SIGINT), SIGTERM and SIGHUP, on Windows the console's Ctrl-C,
// Ctrl-Break and close. A second request of the same kind ends the program
// the hard way. One instance at a time.
class StopSignals : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal number of the first request that came (Ctrl-C is SIGINT
    // everywhere), 0 while none has.
    static int Caught();

signals:
    void Arrived(int signalNumber);
};
