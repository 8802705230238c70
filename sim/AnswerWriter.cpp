#include "sim/AnswerWriter.h"

#include <charconv>
#include <random>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void appendFixed(std::string& out, double value, int decimals) {
    // Wide enough for any finite double in fixed notation.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string_view text(buffer, std::size_t(result.ptr - buffer));
    // A small negative value rounds to "-0.0", which the instrument never shows.
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("-0.") == std::string_view::npos) {
        text.remove_prefix(1);
    }
    out += text;
}

// A spoiled field: lowercase letters, or bytes of any value except the ones
// that would change the framing (comma, CR, LF), forge a marker, or let a
// number survive (digits).
std::string spoiledField(std::minstd_rand& random) {
    std::string field;
    const bool letters = random() % 2 == 0;
    const int length = 1 + int(random() % 4);
    while (int(field.size()) < length) {
        const auto byte = letters ? char('a' + random() % 26) : char(random() % 256);
        if (byte == ',' || byte == '\r' || byte == '\n' || byte == 'S' || byte == 'E') continue;
        if (byte >= '0' && byte <= '9') continue;
        field += byte;
    }
    return field;
}

std::string spoiledPoint(const Sweep::Point& point, std::minstd_rand& random) {
    const std::string clean = AnswerWriter::formatPoint(point);
    const auto firstComma = clean.find(',');
    const auto secondComma = clean.find(',', firstComma + 1);
    std::string fields[3] = {clean.substr(0, firstComma),
                             clean.substr(firstComma + 1, secondComma - firstComma - 1),
                             clean.substr(secondComma + 1)};
    fields[random() % 3] = spoiledField(random);
    return fields[0] + ',' + fields[1] + ',' + fields[2];
}

}  // namespace

std::string AnswerWriter::formatHeader(const Sweep& sweep) {
    return std::to_string(sweep.startUnits) + ',' + std::to_string(sweep.endUnits) + ',' +
           std::to_string(sweep.stepUnits);
}

std::string AnswerWriter::formatPoint(const Sweep::Point& point) {
    std::string line;
    appendFixed(line, point.swr, 2);
    line += ',';
    appendFixed(line, point.rOhm, 1);
    line += ',';
    appendFixed(line, point.xOhm, 1);
    return line;
}

std::string AnswerWriter::compose(const Sweep& sweep, const Options& options) {
    const std::size_t count = sweep.points.size();
    std::string out = options.junk;
    out.reserve(out.size() + 32 + count * 20);
    out += "S";
    out += kLineEnd;
    const std::size_t headerStart = out.size();
    out += formatHeader(sweep);
    out += kLineEnd;
    if (options.fault == Fault::Cut && count == 0) {
        out.resize(headerStart + (out.size() - headerStart) / 2);
        return out;
    }

    std::minstd_rand random(options.seed == 0 ? 1 : options.seed);
    // Roughly one point in eight is spoiled, and always at least one.
    std::size_t spoiled = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t lineStart = out.size();
        const bool spoil = options.fault == Fault::Garbage &&
                           (random() % 8 == 0 || (spoiled == 0 && i == count / 2));
        if (spoil) {
            out += spoiledPoint(sweep.points[i], random);
            ++spoiled;
        } else {
            out += formatPoint(sweep.points[i]);
        }
        out += kLineEnd;
        if (options.fault == Fault::Cut && i == count / 2) {
            out.resize(lineStart + (out.size() - lineStart) / 2);
            return out;
        }
    }
    if (options.fault == Fault::NoEnd) return out;
    out += "E";
    out += kLineEnd;
    return out;
}

std::optional<AnswerWriter::Fault> AnswerWriter::faultFromName(std::string_view name) {
    if (name == "none") return Fault::None;
    if (name == "cut") return Fault::Cut;
    if (name == "no-end") return Fault::NoEnd;
    if (name == "garbage") return Fault::Garbage;
    return std::nullopt;
}
