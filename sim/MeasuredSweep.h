#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Sweep.h"

// A sweep measured on a real antenna, read from a table with the header
// "freq_hz,swr,r_ohm,x_ohm" and one row per point (Hz, ratio, ohms, ohms).
// The emulator replays it as the instrument would have sent it.
class MeasuredSweep {
public:
    struct Row {
        double frequencyHz = 0;
        Sweep::Point point;
    };

    static constexpr std::string_view kHeader = "freq_hz,swr,r_ohm,x_ohm";

    // Empty on any malformed line; `error` (if given) then names the line and the fault.
    static std::optional<MeasuredSweep> parse(std::string_view text, std::string* error = nullptr);
    static std::optional<MeasuredSweep> load(const std::string& path, std::string* error = nullptr);

    const std::vector<Row>& rows() const { return m_rows; }

    // Every row, in the file's order; start and end are the first and last
    // frequency in units of 100 Hz, the step their mean spacing.
    Sweep toSweep() const;

private:
    std::vector<Row> m_rows;
};
