#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <limits>

#include "platform/NumberRules.h"

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
    EXPECT_TRUE(isNumeric(u"2.5"));
    EXPECT_TRUE(isNumeric(u" -5 "));
    EXPECT_TRUE(isNumeric(u"1e3"));
    EXPECT_FALSE(isNumeric(u"abc"));
    EXPECT_FALSE(isNumeric(u""));
    EXPECT_FALSE(isNumeric(u"5x"));
    EXPECT_FALSE(isNumeric(u"."));
}

TEST(RoundToInteger, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundToInt16(854.5), 854);
    EXPECT_EQ(roundToInt16(4145.5), 4146);
    EXPECT_EQ(roundToInt16(3676.5), 3676);
    EXPECT_EQ(roundToInt16(-2.5), -2);
    EXPECT_EQ(roundToInt16(2.5000001), 3);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(-32768.5), -32768);
    EXPECT_FALSE(roundToInt16(32767.5).has_value());
    EXPECT_FALSE(roundToInt16(-32769.0).has_value());
    EXPECT_FALSE(roundToInt16(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483647.5).has_value());
    EXPECT_FALSE(roundToInt32(std::numeric_limits<double>::infinity()).has_value());
}

TEST(FormatPattern, DigitTemplates) {
    const struct {
        double value;
        const char* pattern;
        const char* text;
    } cases[] = {
        {1, "0.0", "1.0"},
        {9, "0.0", "9.0"},
        {0.04, "0.0", "0.0"},
        {60, "##0", "60"},
        {540, "##0", "540"},
        {0, "##0", "0"},
        {1234, "##0", "1234"},
        {14.035, "#0.000", "14.035"},
        {1, "#0.000", "1.000"},
        {5.3305, "#0.000", "5.331"},
        {5.4035, "#0.000", "5.404"},
        {1.53, "##0.0", "1.5"},
        {52.04, "##0.0", "52.0"},
        {-12.25, "##0.0", "-12.3"},
        {0, "#####", ""},
        {24, "#####", "24"},
        {16383, "#####", "16383"},
        {123456, "#####", "123456"},
        {14.14, "#0.000MHz", "14.140MHz"},
        {1.005, "#0.00", "1.01"},
        {0.5, "#", "1"},
        {0.4, "#", ""},
        {0.5, "0", "1"},
        {2.5, "0", "3"},
        {-0.04, "0.0", "0.0"},
        {9.99, "0.0", "10.0"},
        {1.5, "0.##", "1.5"},
        {0.125, "#.##", ".13"},
        {1e20, "0", "100000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatPattern(c.value, QString::fromLatin1(c.pattern)),
                  QString::fromLatin1(c.text))
            << c.value << " under " << c.pattern;
    }
}
