#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

class ReceivedSweep;

// A scan's progress on one line of stderr, redrawn four times a second from
// what has been received: the points so far, the count the header's step
// promises, the rate and the time left. On anything but a terminal it writes
// nothing at all.
class ProgressLine : public QObject {
    Q_OBJECT

public:
    struct Reading {
        int points = 0;
        std::optional<int> expected;
        double waitedSeconds = 0;         // since the scan began
        std::optional<double> perSecond;  // points per second, once it can be told
    };

    explicit ProgressLine(bool terminal, QObject* parent = nullptr);

    // Follows `received` until End().
    void Begin(const ReceivedSweep& received);
    // Erases the line, so that what follows starts on a clean one.
    void End();

    // (end - start) / step + 1, at most `limit`; empty where the step gives none.
    static std::optional<int> ExpectedPoints(double start, double end, double step, int limit);
    static QString Text(const Reading& reading);

private:
    void show();

    bool m_terminal = false;
    const ReceivedSweep* m_received = nullptr;
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::optional<int> m_expected;
    int m_firstPoints = 0;  // points and time of the first reading that had any
    qint64 m_firstPointsMs = -1;
};
