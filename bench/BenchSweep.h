#pragma once

#include <QByteArray>

#include "core/Sweep.h"

// What the benchmarks measure with: the emulator's dipole cut for the middle
// of the 1-10 MHz band and swept over all of it, so that the ends run far off
// every scale (SWR up to its cap, resistance in the thousands of ohms) the
// way a real wide sweep does.
namespace BenchSweep {

constexpr int kPoints = 16384;  // as many as the window keeps

Sweep Make(int points = kPoints);
// The analyzer's whole answer: "S", header, one line per point, "E".
QByteArray Answer(const Sweep& sweep);

}  // namespace BenchSweep
