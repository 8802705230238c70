#include <QLabel>
#include <QPushButton>

#include "app/frmMain.h"
#include "link/WireFormat.h"
#include "platform/ComboBox.h"
#include "platform/CommControl.h"
#include "platform/CommError.h"
#include "platform/NumberRules.h"

using NumberRules::leadingNumber;

namespace {

const QLatin1String kStart(WireFormat::kStartMarker.data(), WireFormat::kStartMarker.size());
const QLatin1String kEnd(WireFormat::kEndMarker.data(), WireFormat::kEndMarker.size());

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
        SetUpPolling();
        LblPoints->setText(QStringLiteral("Sending"));
        const auto command = WireFormat::Command(MnComboFScale->ListIndex());
        cntlComm->Output(QByteArray(command.data(), qsizetype(command.size())));
    } catch (const CommError& e) {
        FailScan(QStringLiteral("Error in btnCollectDisplayData_Click routine"), e.description());
        return;
    }

    LblPoints->setText(QStringLiteral("Waiting"));
    std::int16_t counter = 0;
    bool headerCame = false;
    bool answerLost = false;
    try {
        while (ReadField() != kStart && !flgStop) {
        }
        if (!flgStop) {
            headerCame = true;
            // The step is read and kept only for callers that want to know how
            // many points are coming: the window spreads the points evenly.
            QString header[WireFormat::kHeaderFields];
            for (QString& field : header) field = ReadField();
            Scan_Start = leadingNumber(header[WireFormat::kHeaderStart]);
            Scan_End = leadingNumber(header[WireFormat::kHeaderEnd]);
            Scan_Step = leadingNumber(header[WireFormat::kHeaderStep]);
            QString field;
            while (field != kEnd && counter < iMaxValues) {
                for (const Quantity quantity : WireFormat::kPointFields) {
                    field = ReadField();
                    if (field == kEnd || flgStop) break;
                    Scan_Data.Set(counter, InfoOf(quantity).column, leadingNumber(field));
                }
                if (field == kEnd || flgStop) break;
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
