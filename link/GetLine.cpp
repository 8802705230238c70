#include <QCoreApplication>

#include "app/frmMain.h"
#include "link/WireFormat.h"
#include "platform/CommControl.h"
#include "platform/CommError.h"

QString frmMain::GetLine() {
    QString result;
    try {
        QString field;
        bool nothingCame = false;
        for (;;) {
            // Bytes already received are read without a trip through the
            // event loop: one per character costs a system call each and held
            // a fast line to about half a million characters a second. The
            // loop still runs whenever the buffer runs dry, at the latest
            // after one refill from the system (a few kilobytes, well under a
            // millisecond of work), so a Stop click never waits long. While
            // the line is quiet, sleep in the event loop until something
            // happens (a byte, a click) instead of polling a core flat out.
            if (!cntlComm->BytesWaiting()) {
                QCoreApplication::processEvents(nothingCame ? QEventLoop::WaitForMoreEvents
                                                            : QEventLoop::AllEvents);
            }
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
