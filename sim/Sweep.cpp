#include "sim/Sweep.h"

#include <cmath>

std::int64_t Sweep::meanStepUnits(std::int64_t startUnits, std::int64_t endUnits,
                                  std::size_t count) {
    if (count < 2) return 0;
    const double mean = double(endUnits - startUnits) / double(count - 1);
    // nearbyint follows the default rounding mode, which is half to even.
    return std::int64_t(std::nearbyint(mean));
}

double Sweep::pointFrequencyHz(std::int64_t startUnits, std::int64_t endUnits, std::size_t index,
                               std::size_t count) {
    if (count < 2) return double(startUnits) * 100.0;
    const double span = double(endUnits - startUnits);
    return (double(startUnits) + span * double(index) / double(count - 1)) * 100.0;
}
