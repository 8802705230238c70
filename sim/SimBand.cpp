#include "sim/SimBand.h"

namespace {

// Row order is the command code; it is not sorted by frequency on purpose.
constexpr SimBand kBands[SimBand::count] = {
    {" 1-10MHz", 10000, 100000},  {"10-20MHz", 100000, 200000}, {"20-30MHz", 200000, 300000},
    {"Custom", 100000, 110000},   {" 10 Mtrs", 280000, 297000}, {" 12 Mtrs", 248900, 249900},
    {" 15 Mtrs", 210000, 214500}, {" 17 Mtrs", 180680, 181680}, {" 20 Mtrs", 140000, 143500},
    {" 30 Mtrs", 101000, 101500}, {" 40 Mtrs", 70000, 73000},   {" 60 Mtrs", 53305, 54035},
    {" 80 Mtrs", 35000, 40000},   {"160 Mtrs", 18000, 20000},   {"6 Mtrs", 500000, 540000},
    {"VHF", 300000, 600000},
};

}  // namespace

std::optional<SimBand> SimBand::fromCode(int code) {
    if (code < 0 || code >= count) return std::nullopt;
    return kBands[code];
}
