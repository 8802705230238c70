#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Sweep.h"

// Turns a sweep into the bytes the analyzer sends:
//   "S" CR LF, "start,end,step" CR LF (units of 100 Hz), one "swr,r,x" CR LF
//   per point (SWR to 2 decimals, ohms to 1), "E" CR LF.
// Faults imitate a flaky cable or instrument so that receivers can be tested
// against answers a real analyzer might produce.
class AnswerWriter {
public:
    enum class Fault {
        None,
        Cut,      // stops in the middle of point line count/2; no "E"
        NoEnd,    // every point, then nothing: no "E"
        Garbage,  // some fields replaced by letters or binary bytes; framing kept
    };

    struct Options {
        std::string junk;  // sent as is before "S", e.g. an echo of the command
        Fault fault = Fault::None;
        std::uint32_t seed = 1;  // picks which fields Fault::Garbage spoils
    };

    static std::string compose(const Sweep& sweep, const Options& options);

    // "start,end,step" without the line end.
    static std::string formatHeader(const Sweep& sweep);
    // "swr,r,x" without the line end; a value that rounds to zero never shows a minus.
    static std::string formatPoint(const Sweep::Point& point);

    // "none", "cut", "no-end", "garbage"; empty for anything else.
    static std::optional<Fault> faultFromName(std::string_view name);
};
