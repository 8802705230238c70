#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sim/CommandScanner.h"

TEST(SimCommandScanner, FindsBandBytesFollowedByCrLf) {
    const std::pair<std::string, std::vector<int>> cases[] = {
        {"0\r\n", {0}},
        {"?\r\n", {15}},
        {"@\r\n", {}},  // 64: one past the last band
        {"/\r\n", {}},  // 47: one before the first
        {"8\n\r", {}},
        {"8\r\r\n", {}},
        {"8\n", {}},
        {"\r\n\r\n", {}},
        {"AT\r\n8\r\n", {8}},
        {"8\r\n:\r\n", {8, 10}},
        {std::string("\0\xff", 2) + "5\r\n", {5}},
        {"58\r\n", {8}},
    };
    for (const auto& [bytes, codes] : cases) {
        CommandScanner whole, split;
        EXPECT_EQ(whole.feed(bytes), codes) << bytes;
        // Serial reads split anywhere; byte by byte must find the same.
        std::vector<int> found;
        for (const char& byte : bytes) {
            for (const int code : split.feed({&byte, 1})) found.push_back(code);
        }
        EXPECT_EQ(found, codes) << bytes;
    }
}
