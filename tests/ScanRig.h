#pragma once

#include <QByteArray>
#include <chrono>
#include <functional>

#include "FormFixture.h"
#include "PtyAnalyzer.h"

// A loaded window whose Com port is a pseudo-terminal, with the analyzer on
// the master end answering every command with `answer` (nothing at all when
// it is empty). Message boxes are looked for every `messageCheck`; a benchmark
// asks seldom, so that the rig adds next to nothing to what the program costs
// while it waits.
class ScanRig {
public:
    explicit ScanRig(const QByteArray& answer = QByteArray(),
                     std::chrono::milliseconds messageCheck = std::chrono::milliseconds(5));

    // Presses "Start Scan"; returns when the scan has finished, drawing included.
    void Scan();
    // Runs `action` every few milliseconds during the scan, until it says done.
    void During(std::function<bool()> action);
    // Runs `action` once during the scan, as soon as the points label reads `label`.
    void When(const QString& label, std::function<void()> action);
    // Presses "Stop Request" once the program has read all that the analyzer
    // sent, as a user would when an answer never ends.
    void StopWhenAllRead();

    // The analyzer has sent everything and no byte waits on the line or in the port.
    bool AllRead();
    // Buttons and port as between scans.
    bool Idle();

    PtyPair pty;
    LoadedForm form;
    PtyAnalyzer analyzer{pty};
    MessageBoxCatcher messages;
};
