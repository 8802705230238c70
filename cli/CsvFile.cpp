#include "cli/CsvFile.h"

#include <algorithm>
#include <array>
#include <vector>

#include "cli/NumberText.h"
#include "sim/TextNumbers.h"

namespace CsvFile {

QByteArray Write(const SweepRecord& record) {
    std::string text(kHeader);
    text += '\n';
    for (const SweepRecord::Point& p : record.points) {
        text += NumberText::Shortest(p.frequencyHz) + ',' + NumberText::Shortest(p.swr) + ',' +
                NumberText::Shortest(p.rOhm) + ',' + NumberText::Shortest(p.xOhm) + '\n';
    }
    return QByteArray::fromStdString(text);
}

std::optional<SweepRecord> Read(std::string_view text, QString* error) {
    const auto fail = [error](int line, const QString& what) {
        if (error) *error = QStringLiteral("line %1: %2").arg(line).arg(what);
        return std::nullopt;
    };
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());

    SweepRecord record;
    bool sawHeader = false;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmedText(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty()) continue;
        if (!sawHeader) {
            if (line != kHeader) {
                return fail(lineNumber,
                            QStringLiteral("expected the header %1").arg(QLatin1String(kHeader)));
            }
            sawHeader = true;
            continue;
        }
        std::vector<std::string_view> fields;
        for (std::size_t from = 0;;) {
            const auto comma = line.find(',', from);
            fields.push_back(line.substr(from, comma == line.npos ? comma : comma - from));
            if (comma == line.npos) break;
            from = comma + 1;
        }
        if (fields.size() != 4) {
            return fail(
                lineNumber,
                QStringLiteral("expected 4 comma-separated numbers, found %1").arg(fields.size()));
        }
        std::array<double, 4> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto value = wholeNumber(fields[i]);
            if (!value) {
                return fail(lineNumber, QStringLiteral("field %1 (\"%2\") is not a number")
                                            .arg(i + 1)
                                            .arg(QString::fromUtf8(fields[i].data(),
                                                                   qsizetype(fields[i].size()))));
            }
            values[i] = *value;
        }
        record.points.push_back({values[0], values[1], values[2], values[3]});
    }
    if (!sawHeader) {
        return fail(std::max(lineNumber, 1),
                    QStringLiteral("no header %1 (empty file)").arg(QLatin1String(kHeader)));
    }
    if (!record.points.empty()) {
        record.startHz = record.points.front().frequencyHz;
        record.endHz = record.points.back().frequencyHz;
    }
    return record;
}

}  // namespace CsvFile
