#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "cli/SweepRecord.h"

class QSocketNotifier;

// A pseudo-terminal with a recorded analyzer behind it: whatever opens the
// device and sends a command gets `answer` back, byte for byte, as fast as
// the line takes it. This is how a saved answer goes through the window's
// own scan, so that it reads exactly as a live one.
class ReplayLine : public QObject {
    Q_OBJECT

public:
    explicit ReplayLine(QByteArray answer, QObject* parent = nullptr);
    ~ReplayLine() override;
    ReplayLine(const ReplayLine&) = delete;
    ReplayLine& operator=(const ReplayLine&) = delete;

    // The device to open; empty when no pseudo-terminal could be made, and
    // Error() says why.
    const QString& DevicePath() const { return m_path; }
    const QString& Error() const { return m_error; }

    // A command came, its whole answer has gone out and none of it still
    // waits on the line: a reader that wants more waits in vain.
    bool RanOut() const;

    // What the analyzer would send for `record`: "S", the range in units of
    // 100 Hz and the mean step, one line per point, "E"; every value exact.
    static QByteArray AnswerFor(const SweepRecord& record);

private:
    void readable();
    void writable();

    int m_master = -1;
    // Kept open so the terminal outlives the reader's close, and to look at
    // what still waits on the line.
    int m_slave = -1;
    QString m_path;
    QString m_error;
    QByteArray m_answer;
    QByteArray m_received;
    QByteArray m_pending;
    bool m_asked = false;
    QSocketNotifier* m_reader = nullptr;
    QSocketNotifier* m_writer = nullptr;
};
