#include "core/analysis/Dip.h"

#include <algorithm>
#include <iterator>

std::vector<Dip> Dip::AllOf(const Sweep& sweep, double threshold) {
    const auto& points = sweep.points;
    const std::vector<double> crossings = SweepSummary::ReactanceCrossings(sweep);
    std::vector<Dip> dips;
    for (std::size_t first = 0; first < points.size(); ++first) {
        if (!(points[first].swr() <= threshold)) continue;
        std::size_t lowest = first;
        std::size_t last = first;
        for (; last + 1 < points.size() && points[last + 1].swr() <= threshold; ++last) {
            if (points[last + 1].swr() < points[lowest].swr()) lowest = last + 1;
        }
        Dip dip;
        dip.minSwr = points[lowest].swr();
        dip.minSwrHz = sweep.FrequencyHz(lowest);
        dip.edges = *SweepSummary::BandEdges(sweep, lowest, threshold);
        std::copy_if(crossings.begin(), crossings.end(), std::back_inserter(dip.crossingsHz),
                     [&dip](double hz) { return hz >= dip.edges.lowHz && hz <= dip.edges.highHz; });
        dip.resonanceHz = SweepSummary::Nearest(dip.crossingsHz, dip.minSwrHz);
        dips.push_back(dip);
        first = last;
    }
    // A sweep may run downwards in frequency.
    std::sort(dips.begin(), dips.end(),
              [](const Dip& a, const Dip& b) { return a.edges.lowHz < b.edges.lowHz; });
    return dips;
}
