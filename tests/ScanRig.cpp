#include "ScanRig.h"

#include <sys/ioctl.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "platform/serial/CommControl.h"
#include "platform/widgets/PictureBox.h"

ScanRig::ScanRig(const QByteArray& answer, std::chrono::milliseconds messageCheck)
    : messages(messageCheck) {
    form.ui.cntlComm->SetDeviceOverride(pty.slavePath());
    analyzer.onCommand = [this, answer](const QByteArray&) {
        if (!answer.isEmpty()) analyzer.Queue(answer);
    };
}

void ScanRig::Scan() {
    form.ui.btnCollectDisplayData->click();
    // The last trace may still be a pending polyline; a user sees it only
    // once it has been stroked.
    form.ui.grphSWRDisplay->Image();
}

void ScanRig::During(std::function<bool()> action) {
    auto* timer = new QTimer(&analyzer);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (action()) timer->stop();
    });
    timer->start(2);
}

void ScanRig::When(const QString& label, std::function<void()> action) {
    During([this, label, action] {
        if (form.ui.LblPoints->text() != label) return false;
        action();
        return true;
    });
}

void ScanRig::StopWhenAllRead() {
    // The kernel hands written bytes to the terminal's input queue a moment
    // later, so a line that looks empty must stay so for a few passes.
    auto quietPasses = std::make_shared<int>(0);
    During([this, quietPasses] {
        *quietPasses = AllRead() ? *quietPasses + 1 : 0;
        if (*quietPasses < 10) return false;
        form.ui.btnStopCollectData->click();
        return true;
    });
}

bool ScanRig::AllRead() {
    int waiting = 0;
    ::ioctl(pty.slaveFd(), FIONREAD, &waiting);
    return analyzer.AllSent() && waiting == 0 && form.ui.cntlComm->InBufferCount() == 0;
}

bool ScanRig::Idle() {
    return form.ui.btnCollectDisplayData->isEnabled() &&
           !form.ui.btnCollectDisplayData->isHidden() && !form.ui.btnStopCollectData->isEnabled() &&
           !form.ui.cntlComm->PortOpen();
}
