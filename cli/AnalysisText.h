#pragma once

#include <QString>
#include <string>

#include "cli/JsonText.h"
#include "cli/SweepAnalyses.h"
#include "core/Sweep.h"
#include "core/analysis/SweepChange.h"

// What a user asked of a sweep beyond its summary, as the tool prints it:
// members that follow the summary's nine keys, and lines that follow its own.
namespace AnalysisText {

// "dips", "bands" and "trim", each only where it was asked for, in this order.
JsonText::Members Json(const Sweep& sweep, const SweepAnalyses& asked);

// {"min_swr", "min_swr_hz", "resonance_hz", "swr2_width_hz"}.
std::string ChangeJson(const SweepChange& change);

// The dips, the bands as a small table and the trim, each line ending in a
// line feed; frequencies in MHz to the kHz.
QString Readable(const Sweep& sweep, const SweepAnalyses& asked);

}  // namespace AnalysisText
