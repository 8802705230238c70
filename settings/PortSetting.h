#pragma once

#include <cstdint>

// The serial port the user chose: the port list offers Com1 to Com16, and
// the number is kept in the settings file.
namespace PortSetting {

inline constexpr char kSection[] = "Configuration";
inline constexpr char kKey[] = "CommPort";
inline constexpr std::int16_t kPortCount = 16;

// A stored number outside 1 to kPortCount means Com1.
constexpr std::int16_t Usable(std::int16_t stored) {
    return stored < 1 || stored > kPortCount ? std::int16_t(1) : stored;
}

}  // namespace PortSetting
