#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "core/Quantities.h"

// One sweep as every part of the programs keeps it: what the analyzer
// answered for a band, or what a file holds.
//
// An answer's points carry no frequency: they lie evenly from the header's
// start (point 0) to its end (the last point), as the window places them. A
// file's points carry their own.
struct Sweep {
    struct Point {
        std::array<double, kQuantityCount> values{};  // in the order of the quantities

        double of(Quantity quantity) const { return values[std::size_t(quantity)]; }
        double swr() const { return of(Quantity::Swr); }
        double rOhm() const { return of(Quantity::Resistance); }
        double xOhm() const { return of(Quantity::Reactance); }
    };

    // The three numbers after the start marker, in units of 100 Hz.
    struct Header {
        double start = 0;
        double end = 0;
        double step = 0;  // says how many points are coming; nothing is placed by it
    };

    std::optional<QString> band;   // the band list text without its leading blank, if known
    std::optional<Header> header;  // an answer's; none for a file of points
    std::vector<Point> points;     // in sweep order
    std::vector<double> pointHz;   // a file's own frequency of each point; empty for an answer

    // Hz of point i: its own frequency, or for an answer
    // 100 x (start + i x (end - start) / (count - 1)), the start for a single point.
    double FrequencyHz(std::size_t i) const;
    // For an answer 100 x the header's start and end; for a file its first
    // and last point's frequency; none for a file without points.
    std::optional<double> StartHz() const;
    std::optional<double> EndHz() const;
};
