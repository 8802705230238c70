#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "core/Sweep.h"

// A sweep as a table: the header "freq_hz,swr,r_ohm,x_ohm", then one row per
// point in sweep order. vantrel-scan writes it and reads it back, and the
// emulator replays it.
namespace CsvFile {

inline constexpr std::string_view kFrequencyColumn = "freq_hz";

// "freq_hz,swr,r_ohm,x_ohm": the frequency and every quantity's column.
std::string Header();

// Every value exactly as held, so that it reads back as the same number.
QByteArray Write(const Sweep& sweep);
// Point i's row of that table, without the line end.
std::string Row(const Sweep& sweep, std::size_t i);

// The points of a table whose header names the frequency and every quantity
// among its columns, in any order; other columns are left unread (so a table
// with more figures per point reads too). CR LF line ends, a byte-order mark
// and blank lines are allowed. The points keep their own frequencies,
// however they are spaced. Empty on a fault, with "line N: what" in `error`.
std::optional<Sweep> Read(std::string_view text, QString* error);

}  // namespace CsvFile
