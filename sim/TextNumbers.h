#pragma once

#include <optional>
#include <string_view>

// Blanks, tabs and CRs cut from both ends.
std::string_view trimmedText(std::string_view text);

// The whole text (blanks around it allowed, a leading '+' too) as one finite
// number, whatever the C locale's decimal point: an optional sign, digits
// with "." as the decimal point and an optional exponent. Empty for anything
// else, also for "inf", "nan" and "+-1". The emulator's options and tables
// and the tool's files read their numbers by it.
std::optional<double> wholeNumber(std::string_view text);
