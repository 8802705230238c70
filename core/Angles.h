#pragma once

// Pi, which C++17 leaves to each program, and the degree.
namespace Angles {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegreesPerRadian = 180 / kPi;

}  // namespace Angles
