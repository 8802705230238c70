#include "core/analysis/PointFigures.h"

#include <cmath>

#include "core/Angles.h"
#include "core/analysis/LumpedPart.h"

namespace {

using Angles::kDegreesPerRadian;

}  // namespace

PointFigures PointFigures::Of(const Sweep::Point& point, double hz) {
    PointFigures figures;
    const double swr = point.swr();
    const double r = point.rOhm();
    const double x = point.xOhm();
    // From the SWR the analyzer measured rather than from R and X: it is
    // what the analyzer shows, and the two need not agree to the last digit.
    if (swr >= 1) {
        figures.rho = (swr - 1) / (swr + 1);
        if (*figures.rho > 0) figures.returnLossDb = -20 * std::log10(*figures.rho);
    }
    figures.zOhm = std::hypot(r, x);
    figures.phaseDeg = std::atan2(x, r) * kDegreesPerRadian;
    if (r > 0) figures.q = std::fabs(x) / r;
    if (const auto part = LumpedPart::OfReactance(x, hz))
        (part->kind == LumpedPart::Kind::L ? figures.seriesLH : figures.seriesCF) = part->value;
    return figures;
}
