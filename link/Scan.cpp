#include <QLabel>
#include <QPushButton>

#include "app/frmMain.h"
#include "platform/ComboBox.h"
#include "platform/CommControl.h"
#include "platform/CommError.h"
#include "platform/NumberRules.h"

using NumberRules::leadingNumber;

namespace {
// Thrown past the rest of the answer once the line reader has failed: the
// reader has already reported it, closed the port and restored the buttons.
struct AnswerLost {};
}  // namespace

QString frmMain::ReadField() {
    QString field = GetLine();
    if (flgReadFailed) throw AnswerLost{};
    return field;
}

void frmMain::btnCollectDisplayData_Click() {
    flgStop = false;
    flgReadFailed = false;
    btnCollectDisplayData->setEnabled(false);
    btnCollectDisplayData->setVisible(false);
    btnStopCollectData->setEnabled(true);

    try {
        if (!cntlComm->PortOpen()) cntlComm->SetPortOpen(true);
        cntlComm->SetOutBufferCount(0);
        cntlComm->SetInBufferCount(0);
        cntlComm->SetSettings(QStringLiteral("9600,N,8,1"));
        cntlComm->SetHandshaking(0);
        cntlComm->SetDTREnable(true);
        cntlComm->SetRThreshold(0);
        cntlComm->SetSThreshold(0);
        LblPoints->setText(QStringLiteral("Sending"));
        const char command[3] = {char(48 + MnComboFScale->ListIndex()), '\r', '\n'};
        cntlComm->Output(QByteArray(command, 3));
    } catch (const CommError& e) {
        FailScan(QStringLiteral("Error in btnCollectDisplayData_Click routine"), e.description);
        return;
    }

    LblPoints->setText(QStringLiteral("Waiting"));
    std::int16_t counter = 0;
    bool headerCame = false;
    bool answerLost = false;
    try {
        while (ReadField() != u"S" && !flgStop) {
        }
        if (!flgStop) {
            headerCame = true;
            Scan_Start = leadingNumber(ReadField());
            Scan_End = leadingNumber(ReadField());
            // The window spaces the points by their count; the step is kept
            // only for callers that want to know how many points are coming.
            Scan_Step = leadingNumber(ReadField());
            QString field;
            while (field != u"E" && counter < iMaxValues) {
                for (int k = 0; k <= 2; ++k) {
                    field = ReadField();
                    if (field == u"E" || flgStop) break;
                    Scan_Data.Set(counter, k, leadingNumber(field));
                }
                if (field == u"E" || flgStop) break;
                LblPoints->setText(NumberRules::formatPattern(counter, u"#####"));
                ++counter;
            }
        }
    } catch (const AnswerLost&) {
        answerLost = true;
    }
    if (headerCame) NumPoints = std::int16_t(counter - 1);

    if (cntlComm->PortOpen()) cntlComm->SetPortOpen(false);
    RestoreScanButtons();
    // A failed reader has reported itself already; the scan then ends as a
    // stopped one does, so that picture, range and readout agree.
    if (flgStop || answerLost) {
        LblPoints->setText(QStringLiteral("Aborted"));
        DrawGraphFrame();
        Scan_Start = QStringLiteral("010000");
        Scan_End = QStringLiteral("100000");
    } else {
        RedrawGraph();
    }
}

void frmMain::btnStopCollectData_Click() { flgStop = true; }
