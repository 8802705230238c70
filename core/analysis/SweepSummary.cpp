#include "core/analysis/SweepSummary.h"

#include <cmath>

namespace {

// Where the straight line from (fromHz, fromValue) to (toHz, toValue) takes `level`.
double crossing(double fromHz, double fromValue, double toHz, double toValue, double level) {
    return fromHz + (level - fromValue) / (toValue - fromValue) * (toHz - fromHz);
}

bool oppositeSigns(double a, double b) { return (a < 0 && b > 0) || (a > 0 && b < 0); }

}  // namespace

std::optional<std::size_t> SweepSummary::LowestPoint(const Sweep& sweep) {
    if (sweep.points.empty()) return std::nullopt;
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < sweep.points.size(); ++i) {
        if (sweep.points[i].swr() < sweep.points[lowest].swr()) lowest = i;
    }
    return lowest;
}

SweepSummary SweepSummary::Of(const Sweep& sweep) {
    SweepSummary summary;
    const std::optional<std::size_t> lowest = LowestPoint(sweep);
    if (!lowest) return summary;
    summary.minSwr = sweep.points[*lowest].swr();
    summary.minSwrHz = sweep.FrequencyHz(*lowest);
    summary.resonanceHz = Resonance(sweep, *summary.minSwrHz);
    summary.swr2 = BandEdges(sweep, *lowest, 2.0);
    summary.swr1_5 = BandEdges(sweep, *lowest, 1.5);
    return summary;
}

std::optional<SweepSummary::Edges> SweepSummary::BandEdges(const Sweep& sweep, std::size_t centre,
                                                           double threshold) {
    const auto& points = sweep.points;
    if (centre >= points.size() || !(points[centre].swr() <= threshold)) return std::nullopt;
    std::size_t first = centre;
    while (first > 0 && points[first - 1].swr() <= threshold) --first;
    std::size_t last = centre;
    while (last + 1 < points.size() && points[last + 1].swr() <= threshold) ++last;

    const auto edge = [&](std::size_t inside, bool atEnd, std::size_t outside) {
        if (atEnd) return sweep.FrequencyHz(inside);
        return crossing(sweep.FrequencyHz(inside), points[inside].swr(), sweep.FrequencyHz(outside),
                        points[outside].swr(), threshold);
    };
    const double before = edge(first, first == 0, first - 1);
    const double after = edge(last, last + 1 == points.size(), last + 1);
    // A sweep may run downwards in frequency; low and high are by frequency.
    return Edges{std::fmin(before, after), std::fmax(before, after)};
}

std::optional<double> SweepSummary::Resonance(const Sweep& sweep, double nearHz) {
    return Nearest(ReactanceCrossings(sweep), nearHz);
}

std::vector<double> SweepSummary::ReactanceCrossings(const Sweep& sweep) {
    const auto& points = sweep.points;
    std::vector<double> crossings;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].xOhm() == 0) crossings.push_back(sweep.FrequencyHz(i));
        if (i + 1 < points.size() && oppositeSigns(points[i].xOhm(), points[i + 1].xOhm())) {
            crossings.push_back(crossing(sweep.FrequencyHz(i), points[i].xOhm(),
                                         sweep.FrequencyHz(i + 1), points[i + 1].xOhm(), 0.0));
        }
    }
    return crossings;
}

std::optional<double> SweepSummary::Nearest(const std::vector<double>& candidatesHz,
                                            double nearHz) {
    std::optional<double> nearest;
    for (const double hz : candidatesHz) {
        const double distance = std::fabs(hz - nearHz);
        const double best = nearest ? std::fabs(*nearest - nearHz) : 0;
        if (!nearest || distance < best || (distance == best && hz < *nearest)) nearest = hz;
    }
    return nearest;
}
