#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/WireFormat.h"

using namespace WireFormat;

TEST(WireFormat, TheCommandNamesTheBandByItsRow) {
    const std::pair<int, std::string_view> commands[] = {
        {0, "0\r\n"}, {9, "9\r\n"}, {10, ":\r\n"}, {15, "?\r\n"}};
    for (const auto& [code, bytes] : commands) {
        const auto command = Command(code);
        EXPECT_EQ(std::string_view(command.data(), command.size()), bytes) << code;
        EXPECT_EQ(BandCodeOf(static_cast<unsigned char>(bytes[0])), code);
    }
    for (const unsigned char byte : {'/', '@', '\r', '\0', '\xff'})
        EXPECT_FALSE(BandCodeOf(byte)) << int(byte);
}

TEST(WireFormat, FieldsEndAtACommaOrACarriageReturnAndLineFeedsVanish) {
    const struct {
        char16_t c;
        bool ends, dropped;
    } characters[] = {
        {u',', true, false},  {u'\r', true, false},  {u'\n', false, true},  {u' ', false, false},
        {u';', false, false}, {u'\t', false, false}, {u'\0', false, false}, {u'S', false, false},
    };
    for (const auto& c : characters) {
        EXPECT_EQ(EndsField(c.c), c.ends) << int(c.c);
        EXPECT_EQ(IsDropped(c.c), c.dropped) << int(c.c);
    }
    // What the analyzer's lines end in is a field end followed by what is dropped.
    ASSERT_EQ(kLineBreak.size(), 2u);
    EXPECT_TRUE(EndsField(kLineBreak[0]) && IsDropped(kLineBreak[1]));
    EXPECT_EQ(JoinFields(std::vector<std::string>{"", "50.0", ""}), ",50.0,");
    EXPECT_EQ(JoinFields(std::vector<std::string>{"S"}), std::string(kStartMarker));
}
