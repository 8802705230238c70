#include "cli/ProgressLine.h"

#include <cmath>
#include <cstdio>

#include "core/ReceivedSweep.h"
#include "platform/runtime/NumberRules.h"

namespace {

constexpr int kRedrawMs = 250;
constexpr double kMinRateSeconds = 1;  // a rate over less time says nothing

QString duration(double seconds) {
    const long long s = std::llround(seconds);
    if (s >= 3600) {
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    }
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

void writeTerminal(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

}  // namespace

ProgressLine::ProgressLine(bool terminal, QObject* parent) : QObject(parent), m_terminal(terminal) {
    m_timer.setInterval(kRedrawMs);
    connect(&m_timer, &QTimer::timeout, this, &ProgressLine::show);
}

void ProgressLine::Begin(const ReceivedSweep& received) {
    if (!m_terminal) return;
    m_received = &received;
    m_clock.start();
    m_expected.reset();
    m_firstPointsMs = -1;
    m_timer.start();
}

void ProgressLine::End() {
    if (!m_terminal) return;
    m_timer.stop();
    // Back to the line's start, erase to its end.
    writeTerminal(QStringLiteral("\r\x1b[K"));
}

std::optional<int> ProgressLine::ExpectedPoints(double start, double end, double step, int limit) {
    const double steps = (end - start) / step;
    if (!std::isfinite(steps) || steps < 0) return std::nullopt;
    return steps + 1 >= limit ? limit : int(std::lround(steps)) + 1;
}

QString ProgressLine::Text(const Reading& reading) {
    if (reading.points == 0) {
        return QStringLiteral("waiting for the analyzer, %1").arg(duration(reading.waitedSeconds));
    }
    QString text =
        reading.expected
            ? QStringLiteral("%1 of %2 points").arg(reading.points).arg(*reading.expected)
            : QStringLiteral("%1 points").arg(reading.points);
    if (!reading.perSecond) return text;
    text +=
        QStringLiteral(", %1 points/s").arg(NumberRules::formatPattern(*reading.perSecond, u"0.0"));
    if (reading.expected && *reading.expected > reading.points && *reading.perSecond > 0) {
        text += QStringLiteral(", %1 left")
                    .arg(duration((*reading.expected - reading.points) / *reading.perSecond));
    }
    return text;
}

void ProgressLine::show() {
    Reading reading;
    reading.points = int(m_received->sweep().points.size());
    reading.waitedSeconds = m_clock.elapsed() / 1e3;
    if (reading.points > 0 && m_firstPointsMs < 0) {
        // The header has come before the first point: its range and step stand.
        m_firstPoints = reading.points;
        m_firstPointsMs = m_clock.elapsed();
        const Sweep::Header& header = m_received->reader().header();
        m_expected = ExpectedPoints(header.start, header.end, header.step, WireFormat::kMaxPoints);
    }
    reading.expected = m_expected;
    const double rateSeconds = (m_clock.elapsed() - m_firstPointsMs) / 1e3;
    if (m_firstPointsMs >= 0 && rateSeconds >= kMinRateSeconds)
        reading.perSecond = (reading.points - m_firstPoints) / rateSeconds;
    writeTerminal(u'\r' + Text(reading) + QStringLiteral("\x1b[K"));
}
