#include "cli/LiveScan.h"

#include <QEventLoop>
#include <QTimer>
#include <cmath>

#include "cli/ProgressLine.h"
#include "cli/StopSignals.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommError.h"

LiveScan::LiveScan(CommControl& port, StopSignals& stopSignals, ProgressLine& progress)
    : m_port(port), m_signals(stopSignals), m_progress(progress) {}

LiveScan::Outcome LiveScan::Run(int bandCode, double timeoutSeconds) {
    m_received = ReceivedSweep();
    m_failure.clear();
    if (StopSignals::Caught()) return {End::Stopped, {}};
    try {
        if (!m_port.PortOpen()) m_port.SetPortOpen(true);
        m_port.SetOutBufferCount(0);
        m_port.SetInBufferCount(0);
        m_port.SetSettings(QString::fromLatin1(WireFormat::kLineSettings));
        m_port.SetHandshaking(0);
        m_port.SetDTREnable(true);
        m_port.SetRThreshold(0);
        m_port.SetSThreshold(0);
        const auto command = WireFormat::Command(bandCode);
        m_port.Output(QByteArray(command.data(), qsizetype(command.size())));
    } catch (const CommError& e) {
        if (m_port.PortOpen()) m_port.SetPortOpen(false);
        return {End::PortFailed, e.description()};
    }

    QEventLoop loop;
    std::optional<End> end;
    const auto finish = [&](End why) {
        if (!end) end = why;
        loop.quit();
    };
    QTimer quiet;
    quiet.setSingleShot(true);
    if (timeoutSeconds > 0) {
        quiet.setInterval(int(std::ceil(timeoutSeconds * 1000)));
        QObject::connect(&quiet, &QTimer::timeout, &loop, [&] { finish(End::TimedOut); });
        quiet.start();
    }
    const auto take = [&] {
        if (!drain()) finish(End::AnswerBroke);
        if (m_received.Complete()) finish(End::Complete);
    };
    QObject::connect(&m_port, &CommControl::InputWaiting, &loop, [&] {
        if (timeoutSeconds > 0) quiet.start();
        take();
    });
    QObject::connect(&m_signals, &StopSignals::Arrived, &loop, [&] { finish(End::Stopped); });
    m_progress.Begin(m_received);
    take();
    if (!end) loop.exec();
    m_progress.End();
    if (m_port.PortOpen()) m_port.SetPortOpen(false);
    return {*end, *end == End::AnswerBroke ? m_failure : QString()};
}

bool LiveScan::drain() {
    try {
        for (QString chunk; !m_received.Complete() && !(chunk = m_port.Input()).isEmpty();)
            m_received.Take(chunk);
        return true;
    } catch (const CommError& e) {
        m_failure = e.description();
        return false;
    }
}
