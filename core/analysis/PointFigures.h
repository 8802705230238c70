#pragma once

#include <optional>

#include "core/Sweep.h"

// What follows from one point's SWR, R and X: the figures a spreadsheet of
// the sweep wants beside them. Ohms, degrees, henry and farad; a figure that
// the point does not define (a return loss of a perfect match, the Q of a
// load without resistance) is empty.
struct PointFigures {
    std::optional<double> returnLossDb;  // -20 log10(rho); empty where rho is 0 or undefined
    std::optional<double> rho;           // (SWR - 1) / (SWR + 1); empty where SWR < 1
    double zOhm = 0;                     // |Z|
    double phaseDeg = 0;                 // of Z, -180 to 180
    std::optional<double> q;             // |X| / R; empty where R <= 0
    // The single ideal part that has the point's reactance at its frequency:
    // an inductor where X > 0, a capacitor where X < 0, none where X = 0.
    std::optional<double> seriesLH;
    std::optional<double> seriesCF;

    static PointFigures Of(const Sweep::Point& point, double hz);
};
