#pragma once

#include <QString>

// The file name sweep `number` of a repeat writes to: the number, three
// digits or more, before the extension ("dipole.csv", 7: "dipole-007.csv";
// 1234: "dipole-1234.csv"), or after a name without one ("dipole-007").
QString NumberedName(const QString& path, int number);

// `path` with "-" and `tag` before the extension ("loop.csv", "20Mtrs":
// "loop-20Mtrs.csv"), or after a name without one.
QString TaggedName(const QString& path, const QString& tag);
