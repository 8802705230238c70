#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <optional>

#include "cli/SweepRecord.h"

class frmMain;
class ReplayLine;

// The Vantrel window, loaded on the offscreen platform and driven as a user
// would: choose a band, press "Start Scan", press "Stop Request". So every
// scan runs the window's own code, and a byte stream gives exactly the
// points, NumPoints and range that it gives in the window.
//
// The window's settings live in a throwaway folder of the session's own: its
// start-up writes the port choice there, never into the user's Vantrel.ini.
// Port numbers are mapped through the Vantrel.ini of `windowFolder`, which is
// only read. Message boxes become the outcome's description.
class WindowSession : public QObject {
    Q_OBJECT

public:
    enum class End {
        Complete,     // ended by "E" or at the point limit
        PortFailed,   // the port could not be opened, set up or written
        AnswerBroke,  // the line reader failed: device gone, port closed
        TimedOut,     // nothing arrived for the timeout
        Stopped,      // Stop() was called
        RanOut,       // a replayed answer ended before "E"
    };
    struct Outcome {
        End end = End::Complete;
        QString description;  // the window's failure text, for PortFailed and AnswerBroke
    };

    // Empty when the private settings folder cannot be made (`error` says why).
    static std::unique_ptr<WindowSession> Open(const QString& windowFolder, QString* error);
    ~WindowSession() override;

    // The CommPort the window would start on, read from `windowFolder`'s
    // Vantrel.ini as its start-up reads it (anything outside 1 to 16 is 1).
    static std::int16_t RememberedPort(const QString& windowFolder);

    void SelectBand(int row);
    // The selected row's band list text without its leading blank.
    QString BandText() const;
    // Com<comNumber>, opened at `device` when that is not empty.
    void UsePort(int comNumber, const QString& device);

    // One scan. With `timeoutSeconds` above 0 it is stopped when no byte
    // arrives for that long; with `replay` when that line has run dry.
    Outcome Scan(double timeoutSeconds, const ReplayLine* replay = nullptr);
    // Presses "Stop Request" if a scan runs; every later Scan() ends at
    // once as Stopped, without opening the port.
    void Stop();

    // The last complete scan: the window's points at their frequencies,
    // 100 x (Scan_Start + i x (Scan_End - Scan_Start) / NumPoints) Hz.
    SweepRecord Record() const;
    // The graph and its scale strips as the window drew them, at twice the
    // window's pixels, under `title`.
    QImage GraphImage(const QString& title) const;

    const frmMain& Form() const { return *m_form; }

private:
    WindowSession() = default;
    void load(const QString& windowFolder);
    void stopFor(End reason);

    QTemporaryDir m_settingsFolder;
    std::unique_ptr<frmMain> m_form;
    QStringList m_messages;
    std::optional<End> m_stopReason;
    bool m_stopped = false;  // Stop() was called
};
