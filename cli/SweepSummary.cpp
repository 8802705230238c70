#include "cli/SweepSummary.h"

#include <cmath>

namespace {

using Point = SweepRecord::Point;

// Where the straight line from (fromHz, fromValue) to (toHz, toValue) takes `level`.
double crossing(double fromHz, double fromValue, double toHz, double toValue, double level) {
    return fromHz + (level - fromValue) / (toValue - fromValue) * (toHz - fromHz);
}

bool oppositeSigns(double a, double b) { return (a < 0 && b > 0) || (a > 0 && b < 0); }

}  // namespace

SweepSummary SweepSummary::Of(const std::vector<Point>& points) {
    SweepSummary summary;
    if (points.empty()) return summary;
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points[i].swr < points[lowest].swr) lowest = i;
    }
    summary.minSwr = points[lowest].swr;
    summary.minSwrHz = points[lowest].frequencyHz;
    summary.resonanceHz = Resonance(points, points[lowest].frequencyHz);
    summary.swr2 = BandEdges(points, lowest, 2.0);
    summary.swr1_5 = BandEdges(points, lowest, 1.5);
    return summary;
}

std::optional<SweepSummary::Edges> SweepSummary::BandEdges(const std::vector<Point>& points,
                                                           std::size_t centre, double threshold) {
    if (centre >= points.size() || !(points[centre].swr <= threshold)) return std::nullopt;
    std::size_t first = centre;
    while (first > 0 && points[first - 1].swr <= threshold) --first;
    std::size_t last = centre;
    while (last + 1 < points.size() && points[last + 1].swr <= threshold) ++last;

    const auto edge = [&](std::size_t inside, bool atEnd, std::size_t outside) {
        if (atEnd) return points[inside].frequencyHz;
        return crossing(points[inside].frequencyHz, points[inside].swr, points[outside].frequencyHz,
                        points[outside].swr, threshold);
    };
    const double before = edge(first, first == 0, first - 1);
    const double after = edge(last, last + 1 == points.size(), last + 1);
    // A sweep may run downwards in frequency; low and high are by frequency.
    return Edges{std::fmin(before, after), std::fmax(before, after)};
}

std::optional<double> SweepSummary::Resonance(const std::vector<Point>& points, double nearHz) {
    std::optional<double> nearest;
    const auto consider = [&](double hz) {
        if (!nearest) {
            nearest = hz;
            return;
        }
        const double distance = std::fabs(hz - nearHz);
        const double best = std::fabs(*nearest - nearHz);
        if (distance < best || (distance == best && hz < *nearest)) nearest = hz;
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].xOhm == 0) consider(points[i].frequencyHz);
        if (i + 1 < points.size() && oppositeSigns(points[i].xOhm, points[i + 1].xOhm)) {
            consider(crossing(points[i].frequencyHz, points[i].xOhm, points[i + 1].frequencyHz,
                              points[i + 1].xOhm, 0.0));
        }
    }
    return nearest;
}
