#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <functional>

#include "PtyPair.h"

// The analyzer's end of a real pseudo-terminal, run by the test's own event
// loop: it collects what the program sends and, on each complete command
// (three bytes ending CR LF), calls `onCommand`, which usually queues an
// answer. Queued bytes go out without blocking as the line takes them, so a
// scan that reads on the same thread never deadlocks against a full line.
class PtyAnalyzer : public QObject {
    Q_OBJECT

public:
    explicit PtyAnalyzer(PtyPair& pty);

    void Queue(const QByteArray& bytes);
    bool AllSent() const { return m_pending.isEmpty(); }

    QByteArray received;
    std::function<void(const QByteArray& command)> onCommand;

private:
    void readable();
    void writable();

    PtyPair& m_pty;
    QSocketNotifier m_reader;
    QSocketNotifier m_writer;
    QByteArray m_pending;
};
