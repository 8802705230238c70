#pragma once

#include <QString>
#include <optional>
#include <string>

#include "core/analysis/LMatch.h"

// The matching networks as the tool prints them.
namespace MatchText {

// {"freq_hz", "r_ohm", "x_ohm", "networks": [{"next_to_load": "series" or
// "shunt", "series": {"part": "L" or "C", "value": henry or farad} or null,
// "shunt": ...}, ...]}; null without a match.
std::string Json(const std::optional<LMatch>& match);

// The point, then one line per network from the load to the line, each
// line ending in a line feed:
//   "  match       13.992 MHz, 54.2 - j3.1 ohm"
//   "              load - series 1.24 uH - shunt 212 pF - 50 ohm"
QString Readable(const LMatch& match);

// Three significant digits and a prefix from f to G: "1.24 uH", "212 pF",
// "47.0 nF".
QString Engineering(double value, const char* unit);

}  // namespace MatchText
