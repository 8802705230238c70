#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <thread>

#include "FormFixture.h"
#include "PtyAnalyzer.h"

// A loaded window whose Com port is a pseudo-terminal, with the analyzer on
// the master end answering every command with `answer` (nothing at all when
// it is empty). Unlike the tests' rig it watches for message boxes only once
// a second, so the rig itself adds next to nothing to what the program costs
// while it waits. With `charsPerSecond` the answer comes as a serial line
// delivers it, a millisecond's worth at a time from a thread of its own,
// whatever the program is doing; without, as fast as the terminal takes it.
class ScanBenchRig {
public:
    using Clock = std::chrono::steady_clock;

    explicit ScanBenchRig(const QByteArray& answer = QByteArray(), double charsPerSecond = 0);
    ~ScanBenchRig();

    // Presses "Start Scan"; returns when the scan has finished, drawing included.
    void Scan();
    // Presses "Stop Request" once `after` has passed on the scan's own event loop.
    void StopAfter(std::chrono::milliseconds after);

    // When the analyzer handed the last byte of its latest answer to the line.
    Clock::time_point LastByteWritten() const { return m_lastByte; }
    // Texts of the message boxes that were answered; a clean scan shows none.
    const QStringList& Messages() const { return m_messages; }

    PtyPair pty;
    LoadedForm form;
    PtyAnalyzer analyzer{pty};

private:
    void sendPaced(const QByteArray& answer, double charsPerSecond);

    std::thread m_line;
    QTimer m_watchdog;
    QStringList m_messages;
    Clock::time_point m_lastByte{};
};

// Processor time this process has used so far (user and system), seconds.
double ProcessCpuSeconds();
