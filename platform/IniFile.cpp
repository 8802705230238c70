#include "platform/IniFile.h"

#include <QDir>
#include <QFile>

#include "platform/AppInfo.h"

namespace IniFile {

QString PathFor(const QString& folder, const QString& name) {
    return folder + QDir::separator() + name + QStringLiteral(".ini");
}

QString ProgramFile() { return PathFor(AppInfo::Path(), AppInfo::ExeName()); }

QByteArray Bytes(const QString& text) { return text.toLatin1(); }

QString Text(const char* bytes, qsizetype size) { return QString::fromLatin1(bytes, size); }

QByteArray FileName(const QString& path) { return QFile::encodeName(path); }

}  // namespace IniFile
