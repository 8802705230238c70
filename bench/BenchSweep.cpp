#include "BenchSweep.h"

#include "app/ScanData.h"
#include "sim/AnswerWriter.h"
#include "sim/SweepSource.h"

namespace BenchSweep {

namespace {
constexpr int kWideBandCode = 0;  // 1-10 MHz
}

Sweep Make(int points) {
    const SweepSource source(AntennaModel::Kind::HalfWaveDipole, std::nullopt, std::size_t(points));
    return *source.sweepFor(kWideBandCode);
}

QByteArray Answer(const Sweep& sweep) {
    return QByteArray::fromStdString(AnswerWriter::compose(sweep, AnswerWriter::Options{}));
}

void Seed(ScanData& data, const Sweep& sweep) {
    for (std::size_t i = 0; i < sweep.points.size(); ++i) {
        for (std::size_t k = 0; k < kQuantities.size(); ++k)
            data.Set(int(i), kQuantities[k].column, sweep.points[i].of(Quantity(k)));
    }
}

}  // namespace BenchSweep
