#pragma once

#include <optional>
#include <vector>

#include "core/Sweep.h"
#include "core/analysis/SweepSummary.h"

// A dip of a multiband antenna: a run of consecutive points at or below an
// SWR threshold, that is one band it can be used on. Frequencies in Hz.
struct Dip {
    double minSwr = 0;  // the run's lowest, the first point's where several share it
    double minSwrHz = 0;
    // Each edge where the SWR crosses the threshold, or the sweep's end (the
    // summary's rule for its 2:1 run).
    SweepSummary::Edges edges;
    // Every zero crossing of the reactance between the edges, and the one of
    // them nearest the lowest point; none where the reactance does not cross
    // 0 there.
    std::vector<double> crossingsHz;
    std::optional<double> resonanceHz;

    // Every dip of the sweep at or below `threshold`, in ascending frequency.
    static std::vector<Dip> AllOf(const Sweep& sweep, double threshold);
};
