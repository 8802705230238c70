#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers in the files and lines the programs write and read: exact and
// locale free, so that a value written reads back as the same double on any
// system.
namespace NumberText {

// The shortest text that reads back as exactly `value`, in plain digits
// from 1e-7 to below 1e21 ("1.5", "14000000", "0.1") and with an exponent
// beyond ("1e+300"). Non-finite values give "inf", "-inf" or "nan".
std::string Shortest(double value);

// Blanks, tabs and CRs cut from both ends.
std::string_view Trimmed(std::string_view text);

// The whole text (blanks around it allowed, a leading '+' too) as one finite
// number, whatever the C locale's decimal point: an optional sign, digits
// with "." as the decimal point and an optional exponent. Empty for anything
// else, also for "inf", "nan" and "+-1".
std::optional<double> Whole(std::string_view text);

}  // namespace NumberText
