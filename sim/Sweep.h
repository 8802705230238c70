#pragma once

#include <cstdint>
#include <vector>

#include "app/Quantities.h"

// One answer's worth of measurements, before it is turned into bytes. The
// frequencies are in units of 100 Hz, as on the wire; the points carry no
// frequency because the receiver spreads them evenly from start to end.
struct Sweep {
    struct Point {
        double swr = 0;   // standing-wave ratio against 50 ohms
        double rOhm = 0;  // resistance, ohms
        double xOhm = 0;  // reactance, ohms

        double of(Quantity quantity) const {
            switch (quantity) {
                case Quantity::Swr:
                    return swr;
                case Quantity::Resistance:
                    return rOhm;
                case Quantity::Reactance:
                    return xOhm;
            }
            return 0;
        }
    };

    std::int64_t startUnits = 0;  // units of 100 Hz
    std::int64_t endUnits = 0;    // units of 100 Hz
    std::int64_t stepUnits = 0;   // units of 100 Hz, informative only
    std::vector<Point> points;

    // The mean spacing of `count` points from start to end, rounded to whole
    // units (half to even); 0 when there are fewer than two points.
    static std::int64_t meanStepUnits(std::int64_t startUnits, std::int64_t endUnits,
                                      std::size_t count);

    // Frequency of point `index` of `count` spread evenly over start..end, in Hz.
    static double pointFrequencyHz(std::int64_t startUnits, std::int64_t endUnits,
                                   std::size_t index, std::size_t count);
};
