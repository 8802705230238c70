#include <QPushButton>

#include "app/Globals.h"
#include "app/frmMain.h"
#include "platform/profile/SettingError.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/SerialPortMap.h"
#include "platform/widgets/ComboBox.h"
#include "settings/CSetting.h"
#include "settings/PortSetting.h"

namespace {
const QString kSection = QString::fromLatin1(PortSetting::kSection);
const QString kKey = QString::fromLatin1(PortSetting::kKey);
}  // namespace

void frmMain::InitPortList() {
    cmboCommPort->Clear();
    for (int n = 1; n <= PortSetting::kPortCount; ++n)
        cmboCommPort->AddItem(QStringLiteral("Com%1").arg(n));
    try {
        iCommPort = objSetting().GetSettingInt(kSection, kKey, 1);
    } catch (const SettingError&) {
        // A stored number beyond 16 bits is as unusable as any other value
        // out of range: the program starts on Com1 and writes that back.
        iCommPort = 0;
    }
    iCommPort = PortSetting::Usable(iCommPort);
    cmboCommPort->SetListIndex(iCommPort - 1);
    cntlComm->SetCommPort(iCommPort);
}

void frmMain::cmboCommPort_Click() {
    if (cntlComm->PortOpen()) cntlComm->SetPortOpen(false);
    iCommPort = std::int16_t(cmboCommPort->ListIndex() + 1);
    objSetting().SaveSettingInt(kSection, kKey, iCommPort);
    btnCollectDisplayData->setEnabled(true);
    cntlComm->SetCommPort(iCommPort);
    cmboCommPort->setToolTip(SerialPortMap::describeComPort(iCommPort));
}

void frmMain::cntlComm_OnComm() {
    // No kind of event (line errors, line-state changes) has an action of
    // its own: the scan reads on with whatever characters arrive. The port is
    // only put back into the scan's polling set-up.
    SetUpPolling();
}

void frmMain::SetUpPolling() {
    // No handshaking, DTR asserted, and no receive or transmit events: the
    // scan polls the port.
    cntlComm->SetHandshaking(0);
    cntlComm->SetDTREnable(true);
    cntlComm->SetRThreshold(0);
    cntlComm->SetSThreshold(0);
}
