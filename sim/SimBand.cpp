#include "sim/SimBand.h"

namespace {

// Row order is the command code; it is not sorted by frequency on purpose.
constexpr SimBand kBands[SimBand::kCount] = {
    {10000, 100000},   // 1-10 MHz
    {100000, 200000},  // 10-20 MHz
    {200000, 300000},  // 20-30 MHz
    {100000, 110000},  // custom
    {280000, 297000},  // 10 m
    {248900, 249900},  // 12 m
    {210000, 214500},  // 15 m
    {180680, 181680},  // 17 m
    {140000, 143500},  // 20 m
    {101000, 101500},  // 30 m
    {70000, 73000},    // 40 m
    {53305, 54035},    // 60 m
    {35000, 40000},    // 80 m
    {18000, 20000},    // 160 m
    {500000, 540000},  // 6 m
    {300000, 600000},  // VHF
};

}  // namespace

std::optional<SimBand> SimBand::fromCode(int code) {
    if (code < 0 || code >= kCount) return std::nullopt;
    return kBands[code];
}
