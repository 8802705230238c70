#pragma once

#include <complex>
#include <cstddef>
#include <optional>
#include <vector>

#include "core/Sweep.h"
#include "core/analysis/LumpedPart.h"

// The lossless L-networks (one series and one shunt part) that present a
// load measured at one point as 50 ohms to the line. There are up to four:
// either part may sit next to the load, and each arrangement has two
// solutions of opposite sign.
struct LMatch {
    enum class Place { Series, Shunt };

    struct Network {
        Place nextToLoad = Place::Series;
        // Absent where its reactance or susceptance is exactly zero. A
        // network left with one part is named by that part's place, so the
        // same circuit found from both arrangements is listed once.
        std::optional<LumpedPart> series;
        std::optional<LumpedPart> shunt;

        bool operator==(const Network& other) const {
            return nextToLoad == other.nextToLoad && series == other.series && shunt == other.shunt;
        }
    };

    double hz = 0;
    double rOhm = 0;
    double xOhm = 0;
    std::vector<Network> networks;  // series next to the load first; none where R <= 0

    // At the point nearest to `targetHz` (the lower of two as near) when one
    // is given, else at the lowest SWR; none for a sweep without points.
    static std::optional<LMatch> Of(const Sweep& sweep, std::optional<double> targetHz);

    // Every network for the load z at hz, each once.
    static std::vector<Network> Networks(std::complex<double> z, double hz);

    // The point whose frequency is nearest to hz, the lower of two as near.
    static std::optional<std::size_t> NearestPoint(const Sweep& sweep, double hz);
};
