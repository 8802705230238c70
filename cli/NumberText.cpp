#include "cli/NumberText.h"

#include <charconv>
#include <cmath>

namespace NumberText {

std::string Shortest(double value) {
    // Plain digits where they stay short, as in 14350000 rather than
    // 1.435e+07: the range in which JavaScript prints numbers so.
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-7 && magnitude < 1e21);
    char buffer[64];
    const auto result =
        plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace NumberText
