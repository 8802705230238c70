#include "sim/SweepSource.h"

#include <utility>

#include "sim/SimBand.h"

SweepSource::SweepSource(AntennaModel::Kind kind, std::optional<double> resonanceHz,
                         std::size_t points)
    : kind_(kind), resonanceHz_(resonanceHz), points_(points) {}

SweepSource::SweepSource(MeasuredSweep measured) : measured_(std::move(measured)) {}

std::optional<Sweep> SweepSource::sweepFor(int bandCode) const {
    const auto band = SimBand::fromCode(bandCode);
    if (!band) return std::nullopt;
    if (measured_) return measured_->toSweep();

    const AntennaModel antenna(kind_, resonanceHz_.value_or(band->centreHz()));
    Sweep sweep;
    sweep.startUnits = band->startUnits;
    sweep.endUnits = band->endUnits;
    sweep.stepUnits = Sweep::meanStepUnits(band->startUnits, band->endUnits, points_);
    sweep.points.reserve(points_);
    for (std::size_t i = 0; i < points_; ++i) {
        const auto z = antenna.impedanceAt(
            Sweep::pointFrequencyHz(band->startUnits, band->endUnits, i, points_));
        sweep.points.push_back({AntennaModel::swrOf(z), z.real(), z.imag()});
    }
    return sweep;
}
