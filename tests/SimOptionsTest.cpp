#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sim/SimBand.h"
#include "sim/SimOptions.h"
#include "sim/SweepSource.h"

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

TEST(SimSweepSource, ModelIsCutForTheBandAskedFor) {
    const SweepSource source(AntennaModel::Kind::HalfWaveDipole, std::nullopt, 101);
    for (int code = -1; code <= SimBand::kCount; ++code) {
        const auto sweep = source.sweepFor(code);
        ASSERT_EQ(bool(sweep), code >= 0 && code < SimBand::kCount) << code;
        if (!sweep) continue;
        ASSERT_EQ(sweep->points.size(), 101u);
        // Resonant in the middle: capacitive below, inductive above.
        EXPECT_LT(sweep->points[50].swr(), 1.5) << code;
        EXPECT_TRUE(sweep->points.front().xOhm() < 0 && sweep->points.back().xOhm() > 0) << code;
    }
    // One 40 m dipole looked at on 20 m: near a full wave, hopelessly matched.
    const auto mismatched = SweepSource(AntennaModel::Kind::HalfWaveDipole, 7.1e6, 11).sweepFor(8);
    for (const auto& point : mismatched->points) EXPECT_GT(point.swr(), 10.0);
}
