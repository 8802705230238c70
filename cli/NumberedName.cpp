#include "cli/NumberedName.h"

QString NumberedName(const QString& path, int number) {
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    // A dot that opens the name (".profile") starts no extension.
    const qsizetype split = dot > nameStart ? dot : path.size();
    return path.left(split) + QStringLiteral("-%1").arg(number, 3, 10, QLatin1Char('0')) +
           path.mid(split);
}
