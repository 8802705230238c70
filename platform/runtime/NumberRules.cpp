#include "platform/runtime/NumberRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace NumberRules {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The longest prefix of `text` (blanks removed) that forms a number, as plain
// ASCII ready for std::from_chars (which takes no leading '+').
struct NumberText {
    std::string mantissa;  // digits and at most one '.', sign stripped
    bool negative = false;
    bool hasDigits = false;
    long exponent = 0;       // already clamped to a sane range
    qsizetype consumed = 0;  // characters of the input used, blanks included
};

NumberText scanNumber(QStringView text) {
    NumberText n;
    qsizetype i = 0;
    const qsizetype len = text.size();
    auto skipBlanks = [&] {
        while (i < len && isBlank(text[i])) ++i;
    };
    skipBlanks();
    if (i < len && (text[i] == u'+' || text[i] == u'-')) {
        n.negative = text[i] == u'-';
        ++i;
    }
    bool seenPoint = false;
    for (skipBlanks(); i < len; skipBlanks()) {
        const QChar c = text[i];
        if (isDigit(c)) {
            n.mantissa += char(c.unicode());
            n.hasDigits = true;
        } else if (c == u'.' && !seenPoint) {
            n.mantissa += '.';
            seenPoint = true;
        } else {
            break;
        }
        ++i;
    }
    n.consumed = i;
    if (!n.hasDigits || i >= len || (text[i] != u'e' && text[i] != u'E')) return n;

    // An exponent counts only when at least one digit follows it.
    qsizetype j = i + 1;
    while (j < len && isBlank(text[j])) ++j;
    bool expNegative = false;
    if (j < len && (text[j] == u'+' || text[j] == u'-')) {
        expNegative = text[j] == u'-';
        ++j;
    }
    long exponent = 0;
    bool expDigits = false;
    for (; j < len; ++j) {
        if (isBlank(text[j])) continue;
        if (!isDigit(text[j])) break;
        exponent = std::min(exponent * 10 + (text[j].unicode() - u'0'), 100000L);
        expDigits = true;
    }
    if (expDigits) {
        n.exponent = expNegative ? -exponent : exponent;
        n.consumed = j;
    }
    return n;
}

}  // namespace

double leadingNumber(QStringView text) {
    const NumberText n = scanNumber(text);
    if (!n.hasDigits) return 0.0;
    const std::string ascii = n.mantissa + "e" + std::to_string(n.exponent);
    double value = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude.
        const auto point = n.mantissa.find('.');
        const std::string whole = n.mantissa.substr(0, point);
        const auto firstNonZero = whole.find_first_not_of('0');
        long magnitude = n.exponent;
        if (firstNonZero != std::string::npos) {
            magnitude += long(whole.size() - firstNonZero);
        } else {
            magnitude -= 1;
        }
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return n.negative ? -value : value;
}

bool isNumeric(QStringView text) {
    const NumberText n = scanNumber(text);
    if (!n.hasDigits) return false;
    for (qsizetype i = n.consumed; i < text.size(); ++i) {
        if (!isBlank(text[i])) return false;
    }
    return true;
}

std::optional<std::int16_t> roundToInt16(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> roundToInt32(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
    return static_cast<std::int32_t>(r);
}

namespace {

bool isPlaceholder(QChar c) { return c == u'0' || c == u'#'; }

// |value| to 15 significant digits, rounded half away from zero to
// `decimals` places; returns the integer digits (no leading zeros, empty for
// zero) and exactly `decimals` fraction digits.
void roundDecimal(double magnitude, int decimals, std::string& whole, std::string& fraction) {
    // to_chars, unlike printf, ignores the C locale's decimal point.
    char buf[40];
    const auto end =
        std::to_chars(buf, buf + sizeof buf - 1, magnitude, std::chars_format::scientific, 14).ptr;
    *end = '\0';
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.') digits += *p;
    }
    const int exponent = std::atoi(p + 1);
    // digits[0] stands for 10^exponent; shift so the string holds the value
    // with an implicit point after `pointPos` digits.
    int pointPos = exponent + 1;
    if (pointPos <= 0) {
        digits.insert(0, std::string(size_t(1 - pointPos), '0'));
        pointPos = 1;
    }
    const int keep = pointPos + decimals;
    if (int(digits.size()) < keep) digits.append(size_t(keep - int(digits.size())), '0');
    const bool roundUp = int(digits.size()) > keep && digits[size_t(keep)] >= '5';
    digits.resize(size_t(keep));
    if (roundUp) {
        int i = keep - 1;
        for (; i >= 0 && digits[size_t(i)] == '9'; --i) digits[size_t(i)] = '0';
        if (i >= 0) {
            ++digits[size_t(i)];
        } else {
            digits.insert(digits.begin(), '1');
            ++pointPos;
        }
    }
    whole = digits.substr(0, size_t(pointPos));
    fraction = digits.substr(size_t(pointPos));
    const auto first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? std::string() : whole.substr(first);
}

}  // namespace

QString formatPattern(double value, QStringView pattern) {
    if (!std::isfinite(value)) {
        return std::isnan(value)
                   ? QStringLiteral("NaN")
                   : (value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity"));
    }
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView wholePattern = point < 0 ? pattern : pattern.left(point);
    const QStringView fractionPattern = point < 0 ? QStringView() : pattern.mid(point + 1);
    const int decimals =
        int(std::count_if(fractionPattern.begin(), fractionPattern.end(), isPlaceholder));

    std::string whole, fraction;
    roundDecimal(std::fabs(value), decimals, whole, fraction);

    // Whole part: digits fill the placeholders from the right; digits left
    // over when the placeholders run out all go in front of the first one.
    QString left;
    int remaining = int(whole.size());
    const qsizetype firstPlaceholder =
        std::find_if(wholePattern.begin(), wholePattern.end(), isPlaceholder) -
        wholePattern.begin();
    for (qsizetype i = wholePattern.size() - 1; i >= 0; --i) {
        const QChar c = wholePattern[i];
        if (!isPlaceholder(c)) {
            left.prepend(c);
            continue;
        }
        if (remaining > 0) {
            left.prepend(QChar(whole[size_t(--remaining)]));
            if (i == firstPlaceholder) {
                while (remaining > 0) left.prepend(QChar(whole[size_t(--remaining)]));
            }
        } else if (c == u'0') {
            left.prepend(u'0');
        }
    }

    // Fraction part: "#" drops trailing zeros that no later "0" needs.
    QString right;
    if (point >= 0) {
        right += u'.';
        const auto lastSignificant = fraction.find_last_not_of('0');
        int digit = 0;
        for (qsizetype i = 0; i < fractionPattern.size(); ++i) {
            const QChar c = fractionPattern[i];
            if (!isPlaceholder(c)) {
                right += c;
                continue;
            }
            const bool laterZero = fractionPattern.mid(i + 1).contains(u'0');
            const bool significant =
                lastSignificant != std::string::npos && size_t(digit) <= lastSignificant;
            if (c == u'0' || significant || laterZero) right += QChar(fraction[size_t(digit)]);
            ++digit;
        }
    }

    const bool nonZero = !whole.empty() || fraction.find_first_not_of('0') != std::string::npos;
    return (value < 0 && nonZero ? QStringLiteral("-") : QString()) + left + right;
}

}  // namespace NumberRules
