#include "ScanBenchRig.h"

#include <sys/resource.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/CommControl.h"
#include "platform/PictureBox.h"

ScanBenchRig::ScanBenchRig(const QByteArray& answer) {
    form->cntlComm->SetDeviceOverride(pty.slavePath());
    analyzer.onCommand = [this, answer](const QByteArray&) {
        if (!answer.isEmpty()) analyzer.Queue(answer);
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

void ScanBenchRig::Scan() {
    form->btnCollectDisplayData->click();
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
