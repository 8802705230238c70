#pragma once

#include <complex>

// A load against the analyzer's 50 ohm reference.
namespace Impedance {

inline constexpr double kReferenceOhm = 50;
// The analyzer shows no SWR above this.
inline constexpr double kSwrCap = 99.9;

// The reflection coefficient (Z - 50) / (Z + 50).
std::complex<double> Reflection(std::complex<double> z);
// Z = 50 (1 + gamma) / (1 - gamma); not finite for gamma = 1 (an open end).
std::complex<double> OfReflection(std::complex<double> gamma);
// (1 + |gamma|) / (1 - |gamma|) for a reflection of that magnitude, at most
// the cap; a load that reflects everything also gives the cap.
double SwrOfReflection(double magnitude);
// The SWR of a load on the 50 ohm line, capped as above.
double SwrOf(std::complex<double> z);

}  // namespace Impedance
