#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

class frmMain;

// A scan's progress on one line of stderr, redrawn four times a second from
// what the window shows (its points label and the header's range and step).
// On anything but a terminal it writes nothing at all.
class ProgressLine : public QObject {
    Q_OBJECT

public:
    struct Reading {
        int points = 0;
        std::optional<int> expected;
        double waitedSeconds = 0;         // since the scan began
        std::optional<double> perSecond;  // points per second, once it can be told
    };

    ProgressLine(const frmMain& form, bool terminal, QObject* parent = nullptr);

    void Begin();
    // Erases the line, so that what follows starts on a clean one.
    void End();

    // Points stored so far, from the window's points label, which shows the
    // index of the last one stored ("" after the first) or a state text.
    static int PointsShown(const QString& label);
    // (end - start) / step + 1, at most `limit`; empty where the step gives none.
    static std::optional<int> ExpectedPoints(double start, double end, double step, int limit);
    static QString Text(const Reading& reading);

private:
    void show();

    const frmMain& m_form;
    bool m_terminal = false;
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::optional<int> m_expected;
    int m_firstPoints = 0;  // points and time of the first reading that had any
    qint64 m_firstPointsMs = -1;
};
