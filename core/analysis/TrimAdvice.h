#pragma once

#include <optional>

#include "core/Sweep.h"

// How much to change a resonant element so that its resonance moves to a
// target frequency: its length is inversely proportional to the frequency,
// so it must change by the factor from / target.
struct TrimAdvice {
    double targetHz = 0;
    double fromHz = 0;
    double percent = 0;  // 100 (from / target - 1): positive lengthens, negative shortens
    std::optional<double> changeM;  // the same in metres of the element's length, if given

    // None for a sweep without points.
    static std::optional<TrimAdvice> For(const Sweep& sweep, double targetHz,
                                         std::optional<double> lengthM);

    // The frequency to move: the resonance nearest the target among those
    // inside a dip of 2:1, a dip without a resonance taking part with its
    // lowest point. Where the reactance crosses zero only at a mismatch (an
    // end-fed wire behind its transformer, a parallel resonance) that
    // crossing is no band of the antenna, and moving it to the target would
    // put no match there. With no dip of 2:1 at all, the resonance nearest
    // the target; with no resonance either, the lowest point.
    static std::optional<double> FromHz(const Sweep& sweep, double targetHz);

    static constexpr double kDipThreshold = 2.0;
};
