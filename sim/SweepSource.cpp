#include "sim/SweepSource.h"

#include <utility>

#include "sim/SimBand.h"

SweepSource::SweepSource(AntennaModel::Kind kind, std::optional<double> resonanceHz,
                         std::size_t points)
    : m_kind(kind), m_resonanceHz(resonanceHz), m_points(points) {}

SweepSource::SweepSource(MeasuredSweep measured) : m_measured(std::move(measured)) {}

std::optional<Sweep> SweepSource::sweepFor(int bandCode) const {
    const auto band = SimBand::fromCode(bandCode);
    if (!band) return std::nullopt;
    if (m_measured) return m_measured->toSweep();

    const AntennaModel antenna(m_kind, m_resonanceHz.value_or(band->centreHz()));
    Sweep sweep;
    sweep.startUnits = band->startUnits;
    sweep.endUnits = band->endUnits;
    sweep.stepUnits = Sweep::meanStepUnits(band->startUnits, band->endUnits, m_points);
    sweep.points.reserve(m_points);
    for (std::size_t i = 0; i < m_points; ++i) {
        const auto z = antenna.impedanceAt(
            Sweep::pointFrequencyHz(band->startUnits, band->endUnits, i, m_points));
        sweep.points.push_back({AntennaModel::swrOf(z), z.real(), z.imag()});
    }
    return sweep;
}
