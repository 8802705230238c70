#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "platform/runtime/NumberRules.h"

using namespace NumberRules;

TEST(LeadingNumber, TakesTheLongestNumberAtTheStart) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"280000", 280000}, {"010000", 10000}, {" 12.5", 12.5}, {"12.5abc", 12.5},
        {"abc", 0},         {"", 0},           {"1 5", 15},     {"\t-3.25", -3.25},
        {"- 4", -4},        {"+7", 7},         {"1.2.3", 1.2},  {".5", 0.5},
        {"1e3", 1000},      {"1E-2x", 0.01},   {"2e", 2},       {"2e+", 2},
        {"3 e 2", 300},     {"1,5", 1},        {"S", 0},        {"-", 0},
        {".", 0},           {"0x10", 0},       {"1.5E+1,", 15}, {"  -0.0 ", 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
    }
}

TEST(LeadingNumber, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(leadingNumber(u"1e400"), std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumber(u"-99999e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumber(u"1e-400"), 0.0);
    EXPECT_EQ(leadingNumber(u"0.000001e-330"), 0.0);
}

TEST(LeadingNumber, IgnoresTheSystemLocale) {
    // A German C locale writes and reads "," as the decimal point.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine (scripts/install-deps makes it)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(leadingNumber(u"14.035"), 14.035);
    EXPECT_DOUBLE_EQ(leadingNumber(u"14,035"), 14.0);
    EXPECT_EQ(formatPattern(14.035, u"#0.000"), QStringLiteral("14.035"));
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
}

TEST(IsNumeric, WholeTextMustBeOneNumber) {
    for (const char16_t* text : {u"2.5", u" -5 ", u"1e3"}) EXPECT_TRUE(isNumeric(text));
    for (const char16_t* text : {u"abc", u"", u"5x", u"."}) EXPECT_FALSE(isNumeric(text));
}

TEST(RoundToInteger, HalvesGoToTheEvenNeighbourAndOverflowIsRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        std::optional<std::int16_t> rounded;
    } int16s[] = {
        {854.5, 854},        {4145.5, 4146},          {3676.5, 3676},
        {-2.5, -2},          {2.5000001, 3},          {32767.4, 32767},
        {-32768.5, -32768},  {32767.5, std::nullopt}, {-32769.0, std::nullopt},
        {nan, std::nullopt},
    };
    for (const auto& c : int16s) EXPECT_EQ(roundToInt16(c.value), c.rounded) << c.value;
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483647.5).has_value());
    EXPECT_FALSE(roundToInt32(std::numeric_limits<double>::infinity()).has_value());
}

TEST(FormatPattern, DigitTemplates) {
    const struct {
        const char* pattern;
        std::vector<std::pair<double, const char*>> values;  // and their texts
    } cases[] = {
        {"0.0", {{1, "1.0"}, {9, "9.0"}, {0.04, "0.0"}, {-0.04, "0.0"}, {9.99, "10.0"}}},
        {"##0", {{60, "60"}, {540, "540"}, {0, "0"}, {1234, "1234"}}},
        {"#0.000", {{14.035, "14.035"}, {1, "1.000"}, {5.3305, "5.331"}, {5.4035, "5.404"}}},
        {"##0.0", {{1.53, "1.5"}, {52.04, "52.0"}, {-12.25, "-12.3"}}},
        {"#####", {{0, ""}, {24, "24"}, {16383, "16383"}, {123456, "123456"}}},
        {"#0.000MHz", {{14.14, "14.140MHz"}}},
        {"#0.00", {{1.005, "1.01"}}},
        {"#", {{0.5, "1"}, {0.4, ""}}},
        {"0", {{0.5, "1"}, {2.5, "3"}, {1e20, "100000000000000000000"}}},
    };
    for (const auto& c : cases) {
        for (const auto& [value, text] : c.values) {
            EXPECT_EQ(formatPattern(value, QString::fromLatin1(c.pattern)),
                      QString::fromLatin1(text))
                << value << " under " << c.pattern;
        }
    }
}
