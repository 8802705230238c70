#include "core/analysis/LumpedPart.h"

#include "core/Angles.h"

namespace {

using Angles::kPi;

}  // namespace

std::optional<LumpedPart> LumpedPart::OfReactance(double xOhm, double hz) {
    const double omega = 2 * kPi * hz;
    if (xOhm > 0) return LumpedPart{Kind::L, xOhm / omega};
    if (xOhm < 0) return LumpedPart{Kind::C, -1 / (omega * xOhm)};
    return std::nullopt;
}

std::optional<LumpedPart> LumpedPart::OfSusceptance(double bSiemens, double hz) {
    const double omega = 2 * kPi * hz;
    if (bSiemens > 0) return LumpedPart{Kind::C, bSiemens / omega};
    if (bSiemens < 0) return LumpedPart{Kind::L, -1 / (omega * bSiemens)};
    return std::nullopt;
}
