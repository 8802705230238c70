#include "core/files/CsvFile.h"

#include <algorithm>
#include <vector>

#include "core/NumberText.h"

namespace CsvFile {
namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const auto comma = line.find(',', from);
        fields.push_back(line.substr(from, comma == line.npos ? comma : comma - from));
        if (comma == line.npos) return fields;
        from = comma + 1;
    }
}

QString text(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// Where the frequency and each quantity stand in a header; empty with the
// reason in `error` when one is missing or named twice.
std::optional<std::vector<std::size_t>> columnsOf(const std::vector<std::string_view>& names,
                                                  QString* error) {
    std::vector<std::string_view> wanted{kFrequencyColumn};
    for (const QuantityInfo& quantity : kQuantities) wanted.emplace_back(quantity.csvColumn);
    std::vector<std::size_t> columns;
    for (const std::string_view name : wanted) {
        const auto count = std::count_if(names.begin(), names.end(), [name](std::string_view n) {
            return NumberText::Trimmed(n) == name;
        });
        if (count != 1) {
            *error = QStringLiteral("expected the header %1 (a column %2 %3)")
                         .arg(QString::fromStdString(Header()), text(name),
                              count == 0 ? QStringLiteral("is missing")
                                         : QStringLiteral("stands twice"));
            return std::nullopt;
        }
        columns.push_back(std::size_t(
            std::find_if(names.begin(), names.end(),
                         [name](std::string_view n) { return NumberText::Trimmed(n) == name; }) -
            names.begin()));
    }
    return columns;
}

}  // namespace

std::string Header() {
    std::string header(kFrequencyColumn);
    for (const QuantityInfo& quantity : kQuantities) (header += ',') += quantity.csvColumn;
    return header;
}

std::string Row(const Sweep& sweep, std::size_t i) {
    std::string row = NumberText::Shortest(sweep.FrequencyHz(i));
    for (const double value : sweep.points[i].values) (row += ',') += NumberText::Shortest(value);
    return row;
}

QByteArray Write(const Sweep& sweep) {
    std::string out = Header() + '\n';
    for (std::size_t i = 0; i < sweep.points.size(); ++i) out += Row(sweep, i) + '\n';
    return QByteArray::fromStdString(out);
}

std::optional<Sweep> Read(std::string_view bytes, QString* error) {
    int lineNumber = 0;
    const auto fail = [&](const QString& what) {
        if (error) *error = QStringLiteral("line %1: %2").arg(std::max(lineNumber, 1)).arg(what);
        return std::nullopt;
    };
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());

    Sweep sweep;
    std::optional<std::vector<std::size_t>> columns;
    std::size_t width = 0;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        const std::string_view line = NumberText::Trimmed(bytes.substr(0, end));
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        ++lineNumber;
        if (line.empty()) continue;
        const std::vector<std::string_view> fields = splitFields(line);
        if (!columns) {
            QString reason;
            columns = columnsOf(fields, &reason);
            if (!columns) return fail(reason);
            width = fields.size();
            continue;
        }
        if (fields.size() != width) {
            return fail(QStringLiteral("expected %1 comma-separated fields, found %2")
                            .arg(width)
                            .arg(fields.size()));
        }
        std::array<double, 1 + kQuantityCount> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::size_t column = (*columns)[i];
            const auto value = NumberText::Whole(fields[column]);
            if (!value) {
                return fail(QStringLiteral("field %1 (\"%2\") is not a number")
                                .arg(column + 1)
                                .arg(text(fields[column])));
            }
            values[i] = *value;
        }
        sweep.pointHz.push_back(values[0]);
        Sweep::Point point;
        std::copy(values.begin() + 1, values.end(), point.values.begin());
        sweep.points.push_back(point);
    }
    if (!columns) {
        return fail(
            QStringLiteral("no header %1 (empty file)").arg(QString::fromStdString(Header())));
    }
    return sweep;
}

}  // namespace CsvFile
