#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

#include "cli/SweepRecord.h"

// The tool's table of a sweep, which the emulator (zm340-sim --csv) replays:
// the header "freq_hz,swr,r_ohm,x_ohm", then one row per point in sweep order.
namespace CsvFile {

constexpr std::string_view kHeader = "freq_hz,swr,r_ohm,x_ohm";

// Every value exactly as held, so that it reads back as the same number.
QByteArray Write(const SweepRecord& record);

// The rows of a table in that format (CR LF line ends, a byte-order mark and
// blank lines allowed). The range is the first and last row's frequency,
// however the rows are spaced. Empty on a fault, with "line N: what" in `error`.
std::optional<SweepRecord> Read(std::string_view text, QString* error);

}  // namespace CsvFile
