#include "sim/SweepSource.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/Impedance.h"
#include "core/WireFormat.h"
#include "core/files/CsvFile.h"
#include "sim/SimBand.h"

namespace {

// nearbyint follows the default rounding mode, which is half to even.
double wholeUnits(double hz) { return std::nearbyint(hz / WireFormat::kHzPerUnit); }

}  // namespace

SweepSource::SweepSource(AntennaModel::Kind kind, std::optional<double> resonanceHz,
                         std::size_t points)
    : m_kind(kind), m_resonanceHz(resonanceHz), m_points(points) {}

SweepSource::SweepSource(Sweep recorded) : m_recorded(std::move(recorded)) {}

std::optional<SweepSource> SweepSource::FromTable(const std::string& path, std::string* error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "cannot open " + path;
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QString reason;
    std::optional<Sweep> table =
        CsvFile::Read(std::string_view(bytes.constData(), std::size_t(bytes.size())), &reason);
    if (table && table->points.empty()) reason = QStringLiteral("no measurement rows");
    const auto notPositive = table ? std::find_if(table->pointHz.begin(), table->pointHz.end(),
                                                  [](double hz) { return !(hz > 0); })
                                   : std::vector<double>::const_iterator();
    if (table && notPositive != table->pointHz.end())
        reason = QStringLiteral("frequency %1 is not positive").arg(*notPositive);
    if (!table || !reason.isEmpty()) {
        *error = path + ", " + reason.toStdString();
        return std::nullopt;
    }
    const std::vector<double>& hz = table->pointHz;
    const double start = wholeUnits(hz.front());
    const double end = wholeUnits(hz.back());
    table->header = Sweep::Header{start, end, MeanStep(start, end, hz.size())};
    return SweepSource(std::move(*table));
}

double SweepSource::MeanStep(double start, double end, std::size_t count) {
    if (count < 2) return 0;
    return std::nearbyint((end - start) / double(count - 1));
}

std::optional<Sweep> SweepSource::sweepFor(int bandCode) const {
    const auto band = SimBand::fromCode(bandCode);
    if (!band) return std::nullopt;
    if (m_recorded) return m_recorded;

    const AntennaModel antenna(m_kind, m_resonanceHz.value_or(band->centreHz()));
    Sweep sweep;
    const double start = double(band->startUnits);
    const double end = double(band->endUnits);
    sweep.header = Sweep::Header{start, end, MeanStep(start, end, m_points)};
    sweep.points.reserve(m_points);
    for (std::size_t i = 0; i < m_points; ++i) {
        // Where the receiver will place the point: evenly from start to end.
        const double units =
            m_points < 2 ? start : start + (end - start) * double(i) / double(m_points - 1);
        const auto z = antenna.impedanceAt(units * WireFormat::kHzPerUnit);
        sweep.points.push_back({{Impedance::SwrOf(z), z.real(), z.imag()}});
    }
    return sweep;
}
