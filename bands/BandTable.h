#pragma once

#include <array>

// The analyzer's fixed bands in list order. A band's row is its band code:
// the scan command carries the character 48 + row, so the order must never
// change (it is neither sorted nor grouped by frequency). Frequencies are
// six-digit texts in units of 100 Hz.
struct Band {
    const char* name;
    const char* start;
    const char* end;
};

inline constexpr std::array<Band, 16> BandTable{{
    {" 1-10MHz", "010000", "100000"},
    {"10-20MHz", "100000", "200000"},
    {"20-30MHz", "200000", "300000"},
    {"Custom", "100000", "110000"},
    {" 10 Mtrs", "280000", "297000"},
    {" 12 Mtrs", "248900", "249900"},
    {" 15 Mtrs", "210000", "214500"},
    {" 17 Mtrs", "180680", "181680"},
    {" 20 Mtrs", "140000", "143500"},
    {" 30 Mtrs", "101000", "101500"},
    {" 40 Mtrs", "070000", "073000"},
    {" 60 Mtrs", "053305", "054035"},
    {" 80 Mtrs", "035000", "040000"},
    {"160 Mtrs", "018000", "020000"},
    {"6 Mtrs", "500000", "540000"},
    {"VHF", "300000", "600000"},
}};
