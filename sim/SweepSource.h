#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/Sweep.h"
#include "sim/AntennaModel.h"

// What the emulated analyzer measures when asked for a band: either the
// modelled antenna over the band's range, or a recorded sweep replayed as is.
class SweepSource {
public:
    // Without `resonanceHz` each band gets an antenna cut for the band's centre;
    // with it, one antenna is swept across whatever band is asked for.
    SweepSource(AntennaModel::Kind kind, std::optional<double> resonanceHz, std::size_t points);

    // A recorded sweep from a table (freq_hz, swr, r_ohm, x_ohm columns).
    // Every band code is answered with all its rows, unresampled, and the
    // header carries the recording's own range: the first and last frequency
    // and their mean spacing, in whole units of 100 Hz. Empty, with the
    // reason in `error`, for a file that cannot be read, holds no row or a
    // frequency that is not positive.
    static std::optional<SweepSource> FromTable(const std::string& path, std::string* error);

    // Empty for a code that names no band.
    std::optional<Sweep> sweepFor(int bandCode) const;

    // The mean spacing of `count` points from start to end, rounded to whole
    // units (half to even); 0 when there are fewer than two points.
    static double MeanStep(double start, double end, std::size_t count);

private:
    explicit SweepSource(Sweep recorded);

    AntennaModel::Kind m_kind = AntennaModel::Kind::HalfWaveDipole;
    std::optional<double> m_resonanceHz;
    std::size_t m_points = 0;
    std::optional<Sweep> m_recorded;
};
