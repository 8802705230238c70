#include "core/Impedance.h"

#include <algorithm>

namespace Impedance {

std::complex<double> Reflection(std::complex<double> z) {
    return (z - kReferenceOhm) / (z + kReferenceOhm);
}

std::complex<double> OfReflection(std::complex<double> gamma) {
    return kReferenceOhm * (1.0 + gamma) / (1.0 - gamma);
}

double SwrOfReflection(double magnitude) {
    if (!(magnitude < 1.0)) return kSwrCap;
    return std::min((1 + magnitude) / (1 - magnitude), kSwrCap);
}

double SwrOf(std::complex<double> z) { return SwrOfReflection(std::abs(Reflection(z))); }

}  // namespace Impedance
