#include "platform/profile/IniFile.h"

#include <QDir>
#include <QFile>

#include "platform/profile/TextCodec.h"
#include "platform/runtime/AppInfo.h"

namespace IniFile {

QString PathFor(const QString& folder, const QString& name) {
    return folder + QDir::separator() + name + QStringLiteral(".ini");
}

QString ProgramFile() { return PathFor(AppInfo::Path(), AppInfo::ExeName()); }

QByteArray Bytes(const QString& text) { return TextCodec::toAnsi(text); }

QString Text(const QByteArray& bytes) { return TextCodec::fromAnsi(bytes); }

QByteArray FileName(const QString& path) { return QFile::encodeName(path); }

}  // namespace IniFile
