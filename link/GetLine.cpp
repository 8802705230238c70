#include <QCoreApplication>

#include "app/frmMain.h"
#include "core/WireFormat.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommError.h"

QString frmMain::GetLine() {
    QString result;
    try {
        QString field;
        bool nothingCame = false;
        for (;;) {
            // Every pass lets the window handle what is pending before the
            // next character is taken, so a Stop click is seen within one
            // pass however much is waiting in the port. While the line is
            // quiet, sleep in the event loop until something happens (a
            // byte, a click) instead of polling a core flat out.
            const bool quiet = nothingCame && !cntlComm->BytesWaiting();
            QCoreApplication::processEvents(quiet ? QEventLoop::WaitForMoreEvents
                                                  : QEventLoop::AllEvents);
            const QString ch = cntlComm->Input();
            const char16_t c = ch.isEmpty() ? u'\0' : ch.front().unicode();
            if (WireFormat::EndsField(c)) break;
            if (flgStop) break;
            if (!WireFormat::IsDropped(c)) field += ch;
            nothingCame = ch.isEmpty();
        }
        result = field;
    } catch (const CommError& e) {
        FailScan(QStringLiteral("Error in GetLine routine"), e.description());
        flgReadFailed = true;
        result.clear();
    }
    return result;
}
