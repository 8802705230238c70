#include <QLabel>
#include <QPushButton>

#include "app/frmMain.h"
#include "core/AnswerReader.h"
#include "platform/runtime/NumberRules.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommError.h"
#include "platform/widgets/ComboBox.h"

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
        cntlComm->SetSettings(QString::fromLatin1(WireFormat::kLineSettings));
        SetUpPolling();
        LblPoints->setText(QStringLiteral("Sending"));
        const auto command = WireFormat::Command(MnComboFScale->ListIndex());
        cntlComm->Output(QByteArray(command.data(), qsizetype(command.size())));
    } catch (const CommError& e) {
        FailScan(QStringLiteral("Error in btnCollectDisplayData_Click routine"), e.description());
        return;
    }

    LblPoints->setText(QStringLiteral("Waiting"));
    // Skips to "S", takes the header, then the points up to "E" or the last
    // row of Scan_Data.
    AnswerReader answer(iMaxValues);
    bool answerLost = false;
    try {
        while (!answer.Ended()) {
            const QString text = ReadField();
            // The header is read whole whatever happens; a stop ends the scan
            // anywhere else.
            if (flgStop && !answer.InHeader()) break;
            const AnswerReader::Field field = answer.Take(text);
            if (field.kind == AnswerReader::Field::Kind::Header && field.completes) {
                Scan_Start = answer.header().start;
                Scan_End = answer.header().end;
            } else if (field.kind == AnswerReader::Field::Kind::Value) {
                Scan_Data.Set(field.point, InfoOf(field.quantity).column, field.number);
                if (field.completes)
                    LblPoints->setText(NumberRules::formatPattern(field.point, u"#####"));
            }
        }
    } catch (const AnswerLost&) {
        answerLost = true;
    }
    // A point cut short is not counted; without an answer the old count stays.
    if (answer.StartCame()) NumPoints = std::int16_t(answer.CompletePoints() - 1);

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
