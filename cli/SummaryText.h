#pragma once

#include <QString>
#include <string>

#include "cli/JsonText.h"
#include "core/Sweep.h"
#include "core/analysis/SweepSummary.h"

// A sweep's summary as the tool prints it.
namespace SummaryText {

// One JSON object without the line end, with the keys band, start_hz,
// end_hz, points, min_swr, min_swr_hz, resonance_hz, swr2 and swr1_5 (the
// last two objects of low_hz and high_hz), then `more` in its order. Numbers
// read back exactly; what is unknown, or not a finite number, is null.
std::string Json(const Sweep& sweep, const SweepSummary& summary,
                 const JsonText::Members& more = {});

// A few lines for a person, each ending in a line feed: `title` and the
// range, then the lowest SWR, the resonance and the bandwidths, frequencies
// in MHz to the kHz. With `previous` (the sweep before, in a repeat) the
// change in resonance and minimum since then follows.
QString Readable(const QString& title, const Sweep& sweep, const SweepSummary& summary,
                 const SweepSummary* previous = nullptr);

// A frequency as these lines give it: MHz to the kHz ("14.052").
QString Mhz(double hz);

}  // namespace SummaryText
