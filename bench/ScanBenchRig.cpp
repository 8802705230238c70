#include "ScanBenchRig.h"

#include <sys/resource.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/CommControl.h"
#include "platform/PictureBox.h"

ScanBenchRig::ScanBenchRig(const QByteArray& answer, double charsPerSecond) {
    form->cntlComm->SetDeviceOverride(pty.slavePath());
    analyzer.onCommand = [this, answer, charsPerSecond](const QByteArray&) {
        if (answer.isEmpty()) return;
        if (charsPerSecond > 0) {
            sendPaced(answer, charsPerSecond);
        } else {
            analyzer.Queue(answer);
        }
    };
    QObject::connect(&analyzer, &PtyAnalyzer::AllWritten, [this] { m_lastByte = Clock::now(); });
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            m_messages << box->text();
            box->accept();
        }
    });
    m_watchdog.start(1000);
}

ScanBenchRig::~ScanBenchRig() {
    if (m_line.joinable()) m_line.join();
}

void ScanBenchRig::sendPaced(const QByteArray& answer, double charsPerSecond) {
    if (m_line.joinable()) m_line.join();
    m_line = std::thread([this, answer, charsPerSecond] {
        const auto chunk = qsizetype(std::max(1.0, charsPerSecond / 1000));
        const auto origin = Clock::now();
        for (qsizetype sent = 0; sent < answer.size(); sent += chunk) {
            std::this_thread::sleep_until(
                origin + std::chrono::duration_cast<Clock::duration>(
                             std::chrono::duration<double>(double(sent) / charsPerSecond)));
            if (!pty.write(answer.mid(sent, chunk))) return;
        }
        m_lastByte = Clock::now();
    });
}

void ScanBenchRig::Scan() {
    form->btnCollectDisplayData->click();
    // The scan has read the last byte; the line's thread is done with it.
    if (m_line.joinable()) m_line.join();
    // The last trace may still be a pending polyline; a user sees it only
    // once it has been stroked.
    form->grphSWRDisplay->Image();
}

void ScanBenchRig::StopAfter(std::chrono::milliseconds after) {
    // A coarse timer may fire up to 5 % late, a quarter of a second in five.
    QTimer::singleShot(after, Qt::PreciseTimer, form->btnStopCollectData,
                       [this] { form->btnStopCollectData->click(); });
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
