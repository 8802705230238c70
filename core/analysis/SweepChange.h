#pragma once

#include <optional>

#include "core/analysis/SweepSummary.h"

// What changed between two sweeps of an antenna (a trim, a repeat, a saved
// reference): each figure of the later one minus the earlier one's, none
// where either has none. Frequencies in Hz.
struct SweepChange {
    std::optional<double> minSwr;
    std::optional<double> minSwrHz;
    std::optional<double> resonanceHz;
    std::optional<double> swr2WidthHz;  // of the 2:1 run, high - low

    static SweepChange Between(const SweepSummary& later, const SweepSummary& earlier);
};
