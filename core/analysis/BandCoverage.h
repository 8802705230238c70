#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/Sweep.h"

// How an antenna does on one amateur band of the band list that a sweep
// covers whole. Frequencies in Hz.
struct BandCoverage {
    QString band;      // the band list text without its leading blank
    double lowHz = 0;  // the band table's start and end
    double highHz = 0;
    double swrLow = 0;  // at the low edge, the centre and the high edge
    double swrCentre = 0;
    double swrHigh = 0;
    // The lowest of those three and of the points inside the band, the lower
    // frequency where two share it.
    double minSwr = 0;
    double minSwrHz = 0;
    bool within2 = false;  // all of them at or below 2.0

    // The amateur bands (160 m to 6 m) that lie whole within the sweep's
    // first and last frequency, in ascending frequency.
    static std::vector<BandCoverage> AllOf(const Sweep& sweep);

    // The SWR at `hz`, interpolated linearly in frequency between the
    // neighbouring points, or the point's own where `hz` falls on one; none
    // outside the sweep.
    static std::optional<double> SwrAt(const Sweep& sweep, double hz);
};
