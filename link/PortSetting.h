#pragma once

// Where the chosen port number is kept in the settings file.
namespace PortSetting {

inline constexpr char kSection[] = "Configuration";
inline constexpr char kKey[] = "CommPort";

}  // namespace PortSetting
