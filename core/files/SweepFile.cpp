#include "core/files/SweepFile.h"

#include <QFile>
#include <QFileInfo>

#include "core/files/CsvFile.h"
#include "core/files/RecordedAnswer.h"
#include "core/files/TouchstoneFile.h"

namespace SweepFile {

std::optional<Sweep> Read(const QString& path, QString* error) {
    const QString kind = QFileInfo(path).suffix().toLower();
    if (kind != u"csv" && kind != u"s1p" && kind != u"zm340") {
        *error = path + QStringLiteral(": not a .csv, .s1p or .zm340 file");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    QString reason;
    const std::optional<Sweep> sweep = kind == u"csv"   ? CsvFile::Read(text, &reason)
                                       : kind == u"s1p" ? TouchstoneFile::Read(text, &reason)
                                                        : RecordedAnswer::Read(bytes, &reason);
    if (!sweep) *error = path + QStringLiteral(", ") + reason;
    return sweep;
}

}  // namespace SweepFile
