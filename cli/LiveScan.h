#pragma once

#include <QString>

#include "core/ReceivedSweep.h"

class CommControl;
class ProgressLine;
class StopSignals;

// One sweep from the analyzer, over the port as the window drives it: the
// port opened and set to the analyzer's line (9600,N,8,1, no handshaking,
// DTR on), both buffers emptied, the band's command sent, then everything
// that arrives read into the answer until it is complete. Runs the event
// loop meanwhile, so that Ctrl-C, the timeout and the progress line are seen.
class LiveScan {
public:
    enum class End {
        Complete,     // ended by "E" or at the point limit
        PortFailed,   // the port could not be opened, set up or written
        AnswerBroke,  // the device went away or the port failed under the read
        TimedOut,     // nothing arrived for the timeout
        Stopped,      // a stop signal came
    };
    struct Outcome {
        End end = End::Complete;
        QString description;  // the port's own text, for PortFailed and AnswerBroke
    };

    LiveScan(CommControl& port, StopSignals& stopSignals, ProgressLine& progress);

    // With `timeoutSeconds` above 0 the scan ends when no byte has arrived
    // for that long. The port is closed again on every way out.
    Outcome Run(int bandCode, double timeoutSeconds);

    // The answer as far as it came.
    const Sweep& sweep() const { return m_received.sweep(); }

private:
    // Takes what waits in the port; false once the read has failed.
    bool drain();

    CommControl& m_port;
    StopSignals& m_signals;
    ProgressLine& m_progress;
    ReceivedSweep m_received;
    QString m_failure;
};
