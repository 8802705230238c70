#include "app/frmMain.h"
#include "platform/CommControl.h"
#include "platform/CommError.h"

#include <QCoreApplication>

QString frmMain::GetLine() {
    QString result;
    try {
        QString field;
        bool nothingCame = false;
        for (;;) {
            // Yield before every read. While the line is quiet, sleep in the
            // event loop until something happens (a byte, a click) instead of
            // polling a processor core flat out; buffered bytes never wait.
            if (nothingCame && !cntlComm->BytesWaiting()) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            } else {
                QCoreApplication::processEvents();
            }
            const QString ch = cntlComm->Input();
            if (ch == u',' || ch == u'\r') break;
            if (flgStop) break;
            if (ch != u'\n') field += ch;
            nothingCame = ch.isEmpty();
        }
        result = field;
    } catch (const CommError& e) {
        FailScan(QStringLiteral("Error in GetLine routine"), e.description);
        flgReadFailed = true;
        result.clear();
    }
    return result;
}
