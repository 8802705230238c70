#include "BenchSweep.h"

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

}  // namespace BenchSweep
