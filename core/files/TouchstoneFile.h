#pragma once

#include <QByteArray>
#include <QString>
#include <complex>
#include <optional>
#include <string_view>
#include <vector>

#include "core/Sweep.h"

// One-port Touchstone 1.1 files (.s1p): the reflection S11 of the antenna
// against a 50 ohm reference, one frequency per line.
namespace TouchstoneFile {

struct Sample {
    int line = 0;  // where it stood in the file
    double frequencyHz = 0;
    std::complex<double> s11;
};

// "# MHz S RI R 50", then frequency in MHz and the real and imaginary part of
// S11 per point, every number exact.
QByteArray Write(const Sweep& sweep);

// The samples of a file with any option line for S parameters against 50
// ohms (frequency unit Hz, kHz, MHz or GHz; RI, MA or DB pairs; without an
// option line GHz, MA). Comments after "!" are ignored. Empty on a fault,
// with "line N: what" in `error`.
std::optional<std::vector<Sample>> ReadSamples(std::string_view text, QString* error);

// ReadSamples, each sample turned into the analyzer's quantities: SWR =
// (1 + |S11|) / (1 - |S11|), 99.9 where |S11| >= 0.98 (the analyzer's own
// cap), and R and X from Z = 50 (1 + S11) / (1 - S11). Each point keeps its
// frequency.
std::optional<Sweep> Read(std::string_view text, QString* error);

}  // namespace TouchstoneFile
