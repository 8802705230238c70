#pragma once

#include <cstdint>
#include <optional>

#include "core/WireFormat.h"

// The analyzer's own idea of its sixteen bands. The command byte names a row
// (48 + row); the answer's header carries the row's range. Kept here rather
// than borrowed from the program's band list because the emulator plays the
// instrument, whose table need not agree with what the program displays.
struct SimBand {
    std::int64_t startUnits = 0;  // units of 100 Hz
    std::int64_t endUnits = 0;    // units of 100 Hz

    static constexpr int kCount = WireFormat::kBandCodes;

    // Row 0..15; empty for any other code.
    static std::optional<SimBand> fromCode(int code);

    // Centre of the band in Hz.
    double centreHz() const { return double(startUnits + endUnits) * 50.0; }
};
