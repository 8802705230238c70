#pragma once

#include <QObject>

class QSocketNotifier;

// Ctrl-C (SIGINT), SIGTERM and SIGHUP turned into an ordinary event of the
// event loop: the handler only writes a byte into a socket pair, whose other
// end wakes the loop, also while the scan's line reader sleeps in it. A
// second signal of the same kind ends the program the hard way.
class StopSignals : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal that came, 0 while none has.
    static int Caught();

signals:
    void Arrived(int signalNumber);

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};
