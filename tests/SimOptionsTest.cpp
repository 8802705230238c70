#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimBand.h"
#include "sim/SimOptions.h"
#include "sim/SweepSource.h"

TEST(SimOptions, ParsesEveryOption) {
    std::string error;
    const auto defaults = SimOptions::parse({}, &error);
    ASSERT_TRUE(defaults) << error;
    EXPECT_EQ(defaults->points, 201u);
    EXPECT_EQ(defaults->charsPerSecond, 960.0);
    EXPECT_FALSE(defaults->fast || defaults->once || defaults->help || defaults->resonanceHz);
    EXPECT_EQ(defaults->answer.fault, AnswerWriter::Fault::None);

    const auto all = SimOptions::parse(
        {"--points", "20000", "--fast", "--once", "--resonance=7.1", "--antenna", "vertical",
         "--csv", "a.csv", "--link=/tmp/zm", "--junk", "8\\r\\n\\x00\\\\", "--fault", "no-end",
         "--seed", "7", "--baud", "4800"},
        &error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->points, 20000u);
    EXPECT_TRUE(all->fast && all->once);
    EXPECT_DOUBLE_EQ(*all->resonanceHz, 7.1e6);
    EXPECT_EQ(all->antenna, AntennaModel::Kind::QuarterWaveVertical);
    EXPECT_EQ(all->csvPath, "a.csv");
    EXPECT_EQ(all->linkPath, "/tmp/zm");
    EXPECT_EQ(all->answer.junk, std::string("8\r\n\0\\", 5));
    EXPECT_EQ(all->answer.fault, AnswerWriter::Fault::NoEnd);
    EXPECT_EQ(all->answer.seed, 7u);
    EXPECT_EQ(all->charsPerSecond, 480.0);
}

TEST(SimOptions, RejectsBadCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--points", "20001"},
        {"--points", "-1"},
        {"--points", "12x"},
        {"--points"},
        {"--resonance", "0"},
        {"--resonance", "fourteen"},
        {"--antenna", "yagi"},
        {"--fault", "smoke"},
        {"--junk", "\\q"},
        {"--junk", "\\x4"},
        {"--junk", "\\"},
        {"--csv"},
        {"--link", ""},
        {"--baud", "0"},
        {"--fast=yes"},
        {"--verbose"},
        {"8"},
    };
    for (const auto& arguments : cases) {
        std::string error;
        EXPECT_FALSE(SimOptions::parse(arguments, &error)) << arguments.front();
        EXPECT_FALSE(error.empty()) << arguments.front();
    }
}

TEST(SimOptions, HelpMentionsEveryOption) {
    const std::string help = SimOptions::helpText("zm340-sim");
    for (const char* option : {"--antenna", "--resonance", "--points", "--csv", "--baud", "--fast",
                               "--junk", "--fault cut", "--fault no-end", "--fault garbage",
                               "--seed", "--link", "--once", "--help"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

TEST(SimSweepSource, ModelSweepsTheRequestedBand) {
    const SweepSource source(AntennaModel::Kind::HalfWaveDipole, std::nullopt, 101);
    for (int code = 0; code < SimBand::count; ++code) {
        SCOPED_TRACE(code);
        const auto sweep = source.sweepFor(code);
        ASSERT_TRUE(sweep);
        EXPECT_EQ(sweep->startUnits, SimBand::fromCode(code)->startUnits);
        EXPECT_EQ(sweep->endUnits, SimBand::fromCode(code)->endUnits);
        ASSERT_EQ(sweep->points.size(), 101u);
        // Cut for the band's centre: capacitive below, inductive above.
        const auto& middle = sweep->points[50];
        EXPECT_LT(middle.swr, 1.5);
        EXPECT_NEAR(middle.xOhm, 0.0, 0.05);
        EXPECT_LT(sweep->points.front().xOhm, 0.0);
        EXPECT_GT(sweep->points.back().xOhm, 0.0);
    }
    EXPECT_FALSE(source.sweepFor(-1));
    EXPECT_FALSE(source.sweepFor(16));

    // One 40 m dipole looked at on 20 m: near a full wave, hopelessly matched.
    const SweepSource fixed(AntennaModel::Kind::HalfWaveDipole, 7.1e6, 11);
    const auto mismatched = fixed.sweepFor(8);
    ASSERT_TRUE(mismatched);
    for (const auto& point : mismatched->points) EXPECT_GT(point.swr, 10.0);

    const auto empty = SweepSource(AntennaModel::Kind::HalfWaveDipole, std::nullopt, 0).sweepFor(8);
    EXPECT_TRUE(empty->points.empty());
    EXPECT_EQ(empty->stepUnits, 0);
}

TEST(SimSweepSource, RecordingAnswersEveryBandWithItsOwnRange) {
    const auto measured = MeasuredSweep::parse(
        "freq_hz,swr,r_ohm,x_ohm\n7000000,1.5,50,0\n7100000,1.2,55,1\n7200000,1.9,60,2\n");
    ASSERT_TRUE(measured);
    const SweepSource source(*measured);
    for (const int code : {0, 8, 15}) {
        const auto sweep = source.sweepFor(code);
        ASSERT_TRUE(sweep);
        EXPECT_EQ(sweep->startUnits, 70000);
        EXPECT_EQ(sweep->endUnits, 72000);
        EXPECT_EQ(sweep->stepUnits, 1000);
        EXPECT_EQ(sweep->points.size(), 3u);
    }
}
