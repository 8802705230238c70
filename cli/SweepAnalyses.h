#pragma once

#include <optional>

// What a user trimming an antenna asks of each sweep beyond its summary.
struct SweepAnalyses {
    std::optional<double> dipsThreshold;  // --dips: every run at or below this SWR
    bool bands = false;                   // --bands: every amateur band the sweep covers
    std::optional<double> targetHz;       // --target: how much to cut to move there
    std::optional<double> lengthM;        // --length: of the element to cut
};
