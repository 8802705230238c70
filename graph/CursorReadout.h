#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The graph's mouse readout: which stored point lies under a mouse x, and the
// text offered for it.
namespace CursorReadout {

// Index of the point nearest to `x` (twips) when the points lie `pitch` twips
// apart from `plotLeft`: the quotient rounded half to even, so a mouse exactly
// halfway goes to the even index. Empty when it leaves the 16-bit range.
std::optional<std::int16_t> nearestPoint(double x, double plotLeft, double pitch);

// "1.5 @ 14.140MHz": the value under "##0.0", the frequency (units of 100 Hz)
// in MHz under "#0.000MHz".
QString readoutText(double value, double frequency);

}  // namespace CursorReadout
