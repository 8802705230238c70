#include <QPushButton>

#include "app/frmMain.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/MsgBox.h"

void frmMain::RestoreScanButtons() {
    btnStopCollectData->setEnabled(false);
    btnCollectDisplayData->setEnabled(true);
    btnCollectDisplayData->setVisible(true);
    // Hiding "Start Scan" sent the focus on along the tab order; it comes
    // back so that Space or Enter starts the next scan.
    btnCollectDisplayData->setFocus();
}

void frmMain::FailScan(const QString& routineLine, const QString& description) {
    if (cntlComm->PortOpen()) cntlComm->SetPortOpen(false);
    // A line break in Qt's message text is LF, where the classic box took CR.
    MsgBox(this, routineLine + u'\n' + description);
    RestoreScanButtons();
}
