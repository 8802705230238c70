#pragma once

#include <QString>

// The application's own facts: the folder and base name of the executable,
// which name the settings file (Vantrel.ini beside Vantrel). Tests point them
// at a temporary folder so that runs in parallel never share a settings file;
// vantrel-scan does the same so that the window it drives never writes the
// user's file.
namespace AppInfo {

// The application's title, shown on its message boxes.
inline QString Title() { return QStringLiteral("Vantrel"); }

// The one credit line, shown by the main window and by the About box.
inline QString Credit() { return QStringLiteral("\u00a9 2003-2026 Vantrel"); }

QString Path();     // folder of the executable, without a trailing separator
QString ExeName();  // file name of the executable without its extension

// Stands the executable's folder and name in for the real ones (both empty
// texts restore them).
void SetLocation(const QString& path, const QString& exeName);

}  // namespace AppInfo
