#pragma once

#include <cstddef>
#include <optional>

#include "sim/AntennaModel.h"
#include "sim/MeasuredSweep.h"
#include "sim/Sweep.h"

// What the emulated analyzer measures when asked for a band: either the
// modelled antenna over the band's range, or a recorded sweep replayed as is.
class SweepSource {
public:
    // Without `resonanceHz` each band gets an antenna cut for the band's centre;
    // with it, one antenna is swept across whatever band is asked for.
    SweepSource(AntennaModel::Kind kind, std::optional<double> resonanceHz, std::size_t points);
    // Every band code is answered with all rows of the recording, with the
    // recording's own range in the header, as the instrument reported it.
    explicit SweepSource(MeasuredSweep measured);

    // Empty for a code that names no band.
    std::optional<Sweep> sweepFor(int bandCode) const;

private:
    AntennaModel::Kind m_kind = AntennaModel::Kind::HalfWaveDipole;
    std::optional<double> m_resonanceHz;
    std::size_t m_points = 0;
    std::optional<MeasuredSweep> m_measured;
};
