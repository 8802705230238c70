#include "platform/runtime/AppInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString overridePath;
QString overrideName;
}  // namespace

namespace AppInfo {

QString Path() {
    return overridePath.isEmpty() ? QCoreApplication::applicationDirPath() : overridePath;
}

QString ExeName() {
    return overrideName.isEmpty()
               ? QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
               : overrideName;
}

void SetLocation(const QString& path, const QString& exeName) {
    overridePath = path;
    overrideName = exeName;
}

}  // namespace AppInfo
