#pragma once

#include <string>

// Numbers in the files and lines the tool writes: exact and locale free, so a
// value written reads back as the same double on any system (by wholeNumber
// of sim/TextNumbers.h, which reads the tool's files as it reads the
// emulator's).
namespace NumberText {

// The shortest text that reads back as exactly `value`, in plain digits
// from 1e-7 to below 1e21 ("1.5", "14000000", "0.1") and with an exponent
// beyond ("1e+300"). Non-finite values give "inf", "-inf" or "nan".
std::string Shortest(double value);

}  // namespace NumberText
