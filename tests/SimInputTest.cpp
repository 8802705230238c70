#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "sim/CommandScanner.h"
#include "sim/SimOptions.h"

namespace {

// `line` split at blanks.
std::optional<SimOptions> parse(const char* line, std::string* error) {
    std::istringstream words(line);
    return SimOptions::parse({std::istream_iterator<std::string>(words), {}}, error);
}

}  // namespace

TEST(SimOptions, ConvertsUnitsAndEscapesAndRefusesWhatItCannotUse) {
    const struct {
        const char* line;
        bool (*holds)(const SimOptions&);
    } valid[] = {
        {"--points 20000", [](auto& o) { return o.points == 20000; }},  // beyond 16384 on purpose
        {"--resonance=7.1", [](auto& o) { return o.resonanceHz == 7.1e6; }},
        {"--baud 4800", [](auto& o) { return o.charsPerSecond == 480; }},
        {"--junk 8\\r\\n\\x00\\\\",
         [](auto& o) { return o.answer.junk == std::string("8\r\n\0\\", 5); }},
    };
    for (const auto& c : valid) {
        std::string error;
        const auto options = parse(c.line, &error);
        EXPECT_TRUE(options && c.holds(*options)) << c.line << ": " << error;
    }
    for (const char* line :
         {"--points 20001", "--points -1", "--points 12x", "--points", "--resonance 0",
          "--resonance fourteen", "--antenna yagi", "--fault smoke", "--junk \\q", "--junk \\x4",
          "--junk \\", "--link=", "--baud 0", "--fast=yes", "--verbose", "8"}) {
        std::string error;
        EXPECT_TRUE(!parse(line, &error) && !error.empty()) << line;
    }
}

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
