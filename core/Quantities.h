#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The quantities the analyzer measures at every point. Their order is the
// order of the fields of a point on the wire, of the traces, of the option
// buttons under "Graph Controls", of the display list's rows after "ALL" and
// of the columns of a sweep table.
enum class Quantity { Swr, Resistance, Reactance };

struct QuantityInfo {
    const char* caption;    // option button and display list row
    std::uint32_t colour;   // 0xRRGGBB, the option button's text and the trace
    double fullScale;       // the value at the graph's top edge (ScaleMax)
    int column;             // where Scan_Data keeps it
    const char* scale;      // which scale it is read on, and its unit (the printout's legend)
    const char* csvColumn;  // its column in a sweep table
};

inline constexpr std::array<QuantityInfo, 3> kQuantities{{
    {"SWR", 0xFF0000, 10, 0, "left scale, ratio", "swr"},
    {"Resistance", 0x00FF00, 600, 1, "right scale, ohms", "r_ohm"},
    {"Reactance", 0x0000FF, 600, 2, "right scale, ohms", "x_ohm"},
}};

inline constexpr std::size_t kQuantityCount = kQuantities.size();

constexpr const QuantityInfo& InfoOf(Quantity quantity) {
    return kQuantities[std::size_t(quantity)];
}
