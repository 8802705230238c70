#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/Sweep.h"

// What a user trimming an antenna wants from a sweep: the lowest SWR, where
// the reactance crosses zero nearest to it, and the 2:1 and 1.5:1 bandwidth
// around it. Frequencies in Hz; everything is empty for a sweep without points.
struct SweepSummary {
    struct Edges {
        double lowHz = 0;
        double highHz = 0;
    };

    std::optional<double> minSwr;  // the first point's, where several share it
    std::optional<double> minSwrHz;
    std::optional<double> resonanceHz;  // empty when the reactance never crosses zero
    std::optional<Edges> swr2;          // empty when the minimum lies above 2.0
    std::optional<Edges> swr1_5;        // empty when it lies above 1.5

    static SweepSummary Of(const Sweep& sweep);

    // The index of the lowest SWR (the first, where several share it); none
    // for a sweep without points.
    static std::optional<std::size_t> LowestPoint(const Sweep& sweep);

    // The run of consecutive points at or below `threshold` that holds point
    // `centre`, each edge interpolated linearly in frequency to where the SWR
    // crosses the threshold; an edge that reaches an end of the sweep is that
    // end's frequency. Empty when point `centre` itself lies above it.
    static std::optional<Edges> BandEdges(const Sweep& sweep, std::size_t centre, double threshold);

    // Every zero crossing of the reactance (between neighbours of opposite
    // sign, interpolated linearly; a point with X exactly 0 is one itself),
    // the one nearest in frequency to `nearHz`, the lower of two equally near.
    static std::optional<double> Resonance(const Sweep& sweep, double nearHz);

    // Those crossings in sweep order, and the choice among them.
    static std::vector<double> ReactanceCrossings(const Sweep& sweep);
    static std::optional<double> Nearest(const std::vector<double>& candidatesHz, double nearHz);
};
