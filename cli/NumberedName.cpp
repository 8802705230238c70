#include "cli/NumberedName.h"

QString NumberedName(const QString& path, int number) {
    return TaggedName(path, QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')));
}

QString TaggedName(const QString& path, const QString& tag) {
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    // A dot that opens the name (".profile") starts no extension.
    const qsizetype split = dot > nameStart ? dot : path.size();
    return path.left(split) + u'-' + tag + path.mid(split);
}
