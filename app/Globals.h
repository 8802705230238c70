#pragma once

#include <cstdint>

class CSetting;

// The program's one settings object: created on first use, kept until the
// program ends.
CSetting& objSetting();

// The chosen serial port, 1 for Com1; 0 until one is chosen.
extern std::int16_t iCommPort;
