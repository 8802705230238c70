#include "platform/widgets/MsgBox.h"

#include <QMessageBox>

#include "platform/runtime/AppInfo.h"

namespace {
std::function<void(const QString&)>& routedSink() {
    static std::function<void(const QString&)> sink;
    return sink;
}
}  // namespace

void MsgBox(QWidget* owner, const QString& prompt) {
    if (routedSink()) {
        routedSink()(prompt);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, AppInfo::Title(), prompt, QMessageBox::Ok, owner);
    box.exec();
}

void RouteMsgBox(std::function<void(const QString& prompt)> sink) {
    routedSink() = std::move(sink);
}
