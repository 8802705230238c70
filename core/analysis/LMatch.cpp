#include "core/analysis/LMatch.h"

#include <algorithm>
#include <cmath>

#include "core/Impedance.h"
#include "core/analysis/SweepSummary.h"

namespace {

using Network = LMatch::Network;
using Place = LMatch::Place;

Network networkOf(Place nextToLoad, double seriesOhm, double shuntSiemens, double hz) {
    Network network{nextToLoad, LumpedPart::OfReactance(seriesOhm, hz),
                    LumpedPart::OfSusceptance(shuntSiemens, hz)};
    if (!network.series || !network.shunt)
        network.nextToLoad = network.shunt ? Place::Shunt : Place::Series;
    return network;
}

}  // namespace

std::vector<Network> LMatch::Networks(std::complex<double> z, double hz) {
    constexpr double z0 = Impedance::kReferenceOhm;
    const double r = z.real();
    const double x = z.imag();
    std::vector<Network> found;
    if (!(r > 0)) return found;
    const auto add = [&found](const Network& network) {
        if (std::find(found.begin(), found.end(), network) == found.end()) found.push_back(network);
    };
    // A series part next to the load brings R + jX to R + jX1 on the circle
    // whose admittance has the conductance 1/50, and the shunt part cancels
    // the susceptance left there.
    if (r <= z0) {
        const double x1 = std::sqrt(r * (z0 - r));
        for (const double sign : {1.0, -1.0}) {
            const double x1s = sign * x1;
            add(networkOf(Place::Series, x1s - x, x1s / (r * r + x1s * x1s), hz));
        }
    }
    // The dual: a shunt part next to the load brings G + jB_L to G + jB1,
    // whose impedance has the resistance 50, and the series part cancels
    // the reactance left there. G and B_L from R and X directly, so that a
    // load with G exactly 1/50 gives B1 exactly 0.
    const double magnitude = r * r + x * x;
    const double g = r / magnitude;
    const double bLoad = -x / magnitude;
    if (g <= 1 / z0) {
        const double b1 = std::sqrt(g * (1 / z0 - g));
        for (const double sign : {1.0, -1.0}) {
            const double b1s = sign * b1;
            add(networkOf(Place::Shunt, b1s / (g * g + b1s * b1s), b1s - bLoad, hz));
        }
    }
    return found;
}

std::optional<std::size_t> LMatch::NearestPoint(const Sweep& sweep, double hz) {
    std::optional<std::size_t> nearest;
    for (std::size_t i = 0; i < sweep.points.size(); ++i) {
        if (!nearest) {
            nearest = i;
            continue;
        }
        const double distance = std::fabs(sweep.FrequencyHz(i) - hz);
        const double best = std::fabs(sweep.FrequencyHz(*nearest) - hz);
        if (distance < best ||
            (distance == best && sweep.FrequencyHz(i) < sweep.FrequencyHz(*nearest)))
            nearest = i;
    }
    return nearest;
}

std::optional<LMatch> LMatch::Of(const Sweep& sweep, std::optional<double> targetHz) {
    const std::optional<std::size_t> point =
        targetHz ? NearestPoint(sweep, *targetHz) : SweepSummary::LowestPoint(sweep);
    if (!point) return std::nullopt;
    LMatch match;
    match.hz = sweep.FrequencyHz(*point);
    match.rOhm = sweep.points[*point].rOhm();
    match.xOhm = sweep.points[*point].xOhm();
    match.networks = Networks({match.rOhm, match.xOhm}, match.hz);
    return match;
}
