#pragma once

#include <QByteArray>
#include <QString>

// Where the program's INI file lies and how its texts cross the profile
// functions, for every part that reads or writes it: the file is named after
// the executable and lies beside it, and its texts cross the profile
// functions as 8-bit text in code page 1252.
namespace IniFile {

// folder, the platform's separator, name, ".ini" (the separator is added even
// when the folder already ends in one).
QString PathFor(const QString& folder, const QString& name);
// The INI file beside the executable, named after it.
QString ProgramFile();

// A text as the profile functions take it, and back.
QByteArray Bytes(const QString& text);
QString Text(const QByteArray& bytes);
// A file path as the profile functions take it.
QByteArray FileName(const QString& path);

}  // namespace IniFile
