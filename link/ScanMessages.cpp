#include "link/ScanMessages.h"

#include "platform/AppInfo.h"

#include <QMessageBox>

void ShowRoutineError(QWidget* parent, const QString& routineLine, const QString& description) {
    QMessageBox box(QMessageBox::NoIcon, AppInfo::Title(), routineLine + u'\n' + description, QMessageBox::Ok,
                    parent);
    box.exec();
}
