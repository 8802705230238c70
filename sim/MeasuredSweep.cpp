#include "sim/MeasuredSweep.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "sim/TextNumbers.h"

namespace {

std::int64_t toUnits(double frequencyHz) {
    return std::int64_t(std::nearbyint(frequencyHz / 100.0));
}

bool fail(std::string* error, std::size_t lineNumber, const std::string& what) {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + what;
    return false;
}

}  // namespace

std::optional<MeasuredSweep> MeasuredSweep::parse(std::string_view text, std::string* error) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    MeasuredSweep sweep;
    bool sawHeader = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view line = trimmedText(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        ++lineNumber;
        if (line.empty()) continue;
        if (!sawHeader) {
            if (line != kHeader) {
                fail(error, lineNumber, "expected the header " + std::string(kHeader));
                return std::nullopt;
            }
            sawHeader = true;
            continue;
        }
        std::vector<std::string_view> fields;
        for (std::size_t from = 0;;) {
            const auto comma = line.find(',', from);
            fields.push_back(
                line.substr(from, comma == std::string_view::npos ? comma : comma - from));
            if (comma == std::string_view::npos) break;
            from = comma + 1;
        }
        if (fields.size() != 4) {
            fail(error, lineNumber, "expected four comma-separated numbers");
            return std::nullopt;
        }
        std::optional<double> values[4];
        for (std::size_t i = 0; i < 4; ++i) values[i] = wholeNumber(fields[i]);
        for (const auto& value : values) {
            if (!value) {
                fail(error, lineNumber, "a field is not a number");
                return std::nullopt;
            }
        }
        if (*values[0] <= 0) {
            fail(error, lineNumber, "frequency must be positive");
            return std::nullopt;
        }
        sweep.m_rows.push_back({*values[0], {*values[1], *values[2], *values[3]}});
    }
    if (sweep.m_rows.empty()) {
        fail(error, lineNumber, sawHeader ? "no measurement rows" : "empty file");
        return std::nullopt;
    }
    return sweep;
}

std::optional<MeasuredSweep> MeasuredSweep::load(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open " + path;
        return std::nullopt;
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    std::string parseError;
    auto sweep = parse(contents.str(), &parseError);
    if (!sweep && error) *error = path + ", " + parseError;
    return sweep;
}

Sweep MeasuredSweep::toSweep() const {
    Sweep sweep;
    sweep.startUnits = toUnits(m_rows.front().frequencyHz);
    sweep.endUnits = toUnits(m_rows.back().frequencyHz);
    sweep.stepUnits = Sweep::meanStepUnits(sweep.startUnits, sweep.endUnits, m_rows.size());
    sweep.points.reserve(m_rows.size());
    for (const Row& row : m_rows) sweep.points.push_back(row.point);
    return sweep;
}
