// The exit test's child: a scan against the device named by the first
// argument, left by the way named by the second ("button", "menu" or "close")
// once at least three points have arrived. Any line printed after "exiting"
// proves that something ran after the way out.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "FormFixture.h"
#include "platform/serial/CommControl.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DEVICE button|menu|close\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QByteArray how = argv[2];
    std::atexit([] { std::puts("atexit ran"); });
    LoadedForm form;
    form->show();
    form.ui.cntlComm->SetDeviceOverride(QString::fromLocal8Bit(argv[1]));
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // A failed scan waits for its message to be answered; say what it was.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("message: %s\n", qPrintable(box->text()));
            std::fflush(stdout);
            std::_Exit(3);
        }
        // A busy machine may deliver several points between two ticks, so
        // the label can pass 2 unseen: any index from 2 on will do.
        if (form.ui.LblPoints->text().toInt() < 2) return;
        std::puts("exiting");
        std::fflush(stdout);
        if (how == "button") form.ui.btnExit->click();
        if (how == "menu") form.ui.mnuFileExit->trigger();
        if (how == "close") form->close();
        std::puts("handler went on");
    });
    timer.start(2);
    form.ui.btnCollectDisplayData->click();
    std::puts("scan ended");
    return 0;
}
