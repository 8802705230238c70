#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "core/Quantities.h"

// The analyzer's wire format, both ways, as the facts that the scan, the line
// reader, vantrel-scan and the emulator share. Frequencies travel in units of
// 100 Hz.
namespace WireFormat {

// Frequencies on the wire, in the band table and in the window count units
// of 100 Hz: 140000 is 14 MHz.
inline constexpr double kHzPerUnit = 100;

// The line: 9600 baud, no parity, 8 data bits, 1 stop bit.
inline constexpr char kLineSettings[] = "9600,N,8,1";

// ---- PC to analyzer: one command per scan ----

inline constexpr int kBandCodes = 16;
inline constexpr char kFirstBandByte = 48;  // band code 0 is the digit 0
inline constexpr std::string_view kCommandEnd = "\r\n";
inline constexpr std::size_t kCommandSize = 1 + kCommandEnd.size();

// The band byte followed by CR LF.
constexpr std::array<char, kCommandSize> Command(int bandCode) {
    return {char(kFirstBandByte + bandCode), kCommandEnd[0], kCommandEnd[1]};
}

// The band code a command's first byte names; empty for a byte that names none.
constexpr std::optional<int> BandCodeOf(unsigned char byte) {
    const int code = int(byte) - kFirstBandByte;
    if (code < 0 || code >= kBandCodes) return std::nullopt;
    return code;
}

// ---- analyzer to PC: text fields ----

inline constexpr char kFieldSeparator = ',';  // ends a field within a line
inline constexpr char kLineEnd = '\r';        // ends a field and its line
inline constexpr char kLineFeed = '\n';       // follows CR; never ends a field

constexpr bool EndsField(char16_t c) { return c == kFieldSeparator || c == kLineEnd; }
// A line feed is dropped wherever it stands, even inside a number.
constexpr bool IsDropped(char16_t c) { return c == kLineFeed; }

// Whole fields, compared exactly.
inline constexpr std::string_view kStartMarker = "S";
inline constexpr std::string_view kEndMarker = "E";

// The three fields after the start marker.
inline constexpr int kHeaderFields = 3;
inline constexpr int kHeaderStart = 0;  // first frequency of the sweep
inline constexpr int kHeaderEnd = 1;    // last frequency of the sweep
inline constexpr int kHeaderStep = 2;   // the sweep's step; points carry none

// Then each point, one field per quantity in this order, up to the end marker.
inline constexpr std::array<Quantity, kQuantityCount> kPointFields{
    Quantity::Swr, Quantity::Resistance, Quantity::Reactance};

// The most points an answer is read for: the receiver's table holds no more,
// so the answer counts as ended after the last of them, "E" or not.
inline constexpr int kMaxPoints = 16384;

// What ends each of the analyzer's lines: CR, then LF.
inline constexpr char kLineBreakBytes[] = {kLineEnd, kLineFeed};
inline constexpr std::string_view kLineBreak(kLineBreakBytes, sizeof kLineBreakBytes);

// The fields of one line, separated as the analyzer sends them (no line break).
template <typename Fields>
std::string JoinFields(const Fields& fields) {
    std::string line;
    for (const auto& field : fields) {
        if (&field != &*std::begin(fields)) line += kFieldSeparator;
        line += field;
    }
    return line;
}

}  // namespace WireFormat
