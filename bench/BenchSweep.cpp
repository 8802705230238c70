#include "BenchSweep.h"

#include "app/ScanData.h"
#include "sim/AnswerWriter.h"
#include "sim/SweepSource.h"

namespace BenchSweep {

namespace {
constexpr int WideBandCode = 0;  // 1-10 MHz
}

Sweep Make(int points) {
    const SweepSource source(AntennaModel::Kind::HalfWaveDipole, std::nullopt, std::size_t(points));
    return *source.sweepFor(WideBandCode);
}

QByteArray Answer(const Sweep& sweep) {
    return QByteArray::fromStdString(AnswerWriter::compose(sweep, AnswerWriter::Options{}));
}

void Seed(ScanData& data, const Sweep& sweep) {
    for (std::size_t i = 0; i < sweep.points.size(); ++i) {
        data.Set(int(i), 0, sweep.points[i].swr);
        data.Set(int(i), 1, sweep.points[i].rOhm);
        data.Set(int(i), 2, sweep.points[i].xOhm);
    }
}

}  // namespace BenchSweep
