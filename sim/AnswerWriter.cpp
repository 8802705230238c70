#include "sim/AnswerWriter.h"

#include <array>
#include <charconv>
#include <random>

#include "core/NumberText.h"
#include "core/WireFormat.h"

namespace {

using WireFormat::kLineBreak;
using PointFields = std::array<std::string, WireFormat::kPointFields.size()>;

// The instrument shows the SWR to two decimals and ohms to one.
int decimalsOf(Quantity quantity) { return quantity == Quantity::Swr ? 2 : 1; }

std::string fixed(double value, int decimals) {
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
    return std::string(text);
}

PointFields pointFields(const Sweep::Point& point) {
    PointFields fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const Quantity quantity = WireFormat::kPointFields[i];
        fields[i] = fixed(point.of(quantity), decimalsOf(quantity));
    }
    return fields;
}

// A spoiled field: lowercase letters, or bytes of any value except the ones
// that would change the framing, forge a marker, or let a number survive
// (digits).
std::string spoiledField(std::minstd_rand& random) {
    std::string field;
    const bool letters = random() % 2 == 0;
    const int length = 1 + int(random() % 4);
    while (int(field.size()) < length) {
        const auto byte = letters ? char('a' + random() % 26) : char(random() % 256);
        if (WireFormat::EndsField(byte) || WireFormat::IsDropped(byte)) continue;
        if (byte == WireFormat::kStartMarker[0] || byte == WireFormat::kEndMarker[0]) continue;
        if (byte >= '0' && byte <= '9') continue;
        field += byte;
    }
    return field;
}

std::string spoiledPoint(const Sweep::Point& point, std::minstd_rand& random) {
    PointFields fields = pointFields(point);
    fields[random() % fields.size()] = spoiledField(random);
    return WireFormat::JoinFields(fields);
}

}  // namespace

std::string AnswerWriter::formatHeader(const Sweep& sweep) {
    std::array<std::string, WireFormat::kHeaderFields> fields;
    const Sweep::Header header = sweep.header.value_or(Sweep::Header{});
    fields[WireFormat::kHeaderStart] = NumberText::Shortest(header.start);
    fields[WireFormat::kHeaderEnd] = NumberText::Shortest(header.end);
    fields[WireFormat::kHeaderStep] = NumberText::Shortest(header.step);
    return WireFormat::JoinFields(fields);
}

std::string AnswerWriter::formatPoint(const Sweep::Point& point) {
    return WireFormat::JoinFields(pointFields(point));
}

std::string AnswerWriter::compose(const Sweep& sweep, const Options& options) {
    const std::size_t count = sweep.points.size();
    std::string out = options.junk;
    out.reserve(out.size() + 32 + count * 20);
    out += WireFormat::kStartMarker;
    out += kLineBreak;
    const std::size_t headerStart = out.size();
    out += formatHeader(sweep);
    out += kLineBreak;
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
        out += kLineBreak;
        if (options.fault == Fault::Cut && i == count / 2) {
            out.resize(lineStart + (out.size() - lineStart) / 2);
            return out;
        }
    }
    if (options.fault == Fault::NoEnd) return out;
    out += WireFormat::kEndMarker;
    out += kLineBreak;
    return out;
}

std::optional<AnswerWriter::Fault> AnswerWriter::faultFromName(std::string_view name) {
    if (name == "none") return Fault::None;
    if (name == "cut") return Fault::Cut;
    if (name == "no-end") return Fault::NoEnd;
    if (name == "garbage") return Fault::Garbage;
    return std::nullopt;
}
