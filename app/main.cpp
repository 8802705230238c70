#include <QApplication>

#include "app/frmMain.h"
#include "platform/runtime/AppInfo.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::Title());
    frmMain form;
    form.Form_Load();
    form.show();
    return app.exec();
}
