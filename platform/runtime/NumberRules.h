#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Number conversions shared by the whole program. They are pure and locale
// independent: the analyzer and the settings file always write "." as the
// decimal point, whatever the user's system is set to.
namespace NumberRules {

// The leading number of a text: blanks and tabs are skipped wherever they
// stand, then an optional sign, digits with "." as decimal point and an
// optional exponent are taken up to the first character that cannot continue
// the number. No number gives 0. A number too large for a double saturates at
// the largest finite double (with its sign), so callers never see infinity.
double leadingNumber(QStringView text);

// True when the whole text (blanks around it allowed) is one number in the
// sense of leadingNumber, with at least one digit and nothing left over.
bool isNumeric(QStringView text);

// Conversion of a computed value to an integer: nearest integer, an exact
// half going to the even neighbour (854.5 -> 854, 4145.5 -> 4146). Empty when
// the rounded value does not fit the target width (or is not finite).
std::optional<std::int16_t> roundToInt16(double value);
std::optional<std::int32_t> roundToInt32(double value);

// Digit-template formatting ("0.0", "##0", "#0.000", "#####", "#0.000MHz"):
// 0 is a digit always shown, # a digit shown only when significant, the first
// "." the decimal point, every other character is copied. The value is first
// taken to 15 significant digits, then rounded to the decimals the pattern
// shows with an exact half going away from zero. A negative value gets a
// leading minus unless it rounds to zero.
QString formatPattern(double value, QStringView pattern);

}  // namespace NumberRules
