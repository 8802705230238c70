#include <gtest/gtest.h>

#include "cli/MatchText.h"
#include "cli/ProgressLine.h"
#include "cli/SummaryText.h"

namespace {

// An answer for 14.000 to 14.350 MHz.
Sweep record(std::optional<QString> band, int points) {
    Sweep r;
    r.band = std::move(band);
    r.header = Sweep::Header{140000, 143500, 10};
    for (int i = 0; i < points; ++i) r.points.push_back({{1.5, 50, 0}});
    return r;
}

SweepSummary full() {
    SweepSummary s;
    s.minSwr = 1.1;
    s.minSwrHz = 14040000.5;
    s.resonanceHz = 14041234.567;
    s.swr2 = SweepSummary::Edges{14010000, 14070400};
    return s;
}

}  // namespace

TEST(SummaryText, JsonHasExactlyTheKeysWithExactNumbers) {
    SweepSummary summary = full();
    summary.minSwr = 0.1 * 3;
    const std::string line = SummaryText::Json(record(QStringLiteral("20 \"Mtrs\""), 3), summary);
    EXPECT_EQ(line,
              "{\"band\": \"20 \\\"Mtrs\\\"\", \"start_hz\": 14000000, \"end_hz\": 14350000, "
              "\"points\": 3, \"min_swr\": 0.30000000000000004, \"min_swr_hz\": 14040000.5, "
              "\"resonance_hz\": 14041234.567, \"swr2\": {\"low_hz\": 14010000, \"high_hz\": "
              "14070400}, \"swr1_5\": null}");

    EXPECT_EQ(SummaryText::Json(record(std::nullopt, 0), SweepSummary{}),
              "{\"band\": null, \"start_hz\": 14000000, \"end_hz\": 14350000, \"points\": 0, "
              "\"min_swr\": null, \"min_swr_hz\": null, \"resonance_hz\": null, \"swr2\": null, "
              "\"swr1_5\": null}");
    Sweep overflowed = record(std::nullopt, 0);
    overflowed.header->end = std::numeric_limits<double>::infinity();
    EXPECT_NE(SummaryText::Json(overflowed, SweepSummary{}).find("\"end_hz\": null"),
              std::string::npos);
}

TEST(SummaryText, ReadableLinesWithChangeSinceThePreviousSweep) {
    SweepSummary before = full();
    before.minSwr = 1.25;
    before.minSwrHz = 14038000.5;
    before.resonanceHz = 14043734.567;
    EXPECT_EQ(SummaryText::Readable(QStringLiteral("Sweep 2 of 3, 20 Mtrs"), record({}, 351),
                                    full(), &before),
              "Sweep 2 of 3, 20 Mtrs: 14.000 - 14.350 MHz, 351 points\n"
              "  lowest SWR  1.10 at 14.040 MHz\n"
              "  resonance   14.041 MHz\n"
              "  SWR 2:1     14.010 - 14.070 MHz, 60.4 kHz wide\n"
              "  SWR 1.5:1   none (the lowest SWR is above 1.5)\n"
              "  change      lowest SWR -0.15, moved +2.0 kHz; resonance -2.5 kHz\n");
    EXPECT_EQ(SummaryText::Readable(QStringLiteral("x.csv"), record({}, 0), SweepSummary{}),
              "x.csv: 14.000 - 14.350 MHz, 0 points\n");
}

TEST(ProgressLine, TextFromWhatHasArrived) {
    const std::pair<ProgressLine::Reading, const char*> cases[] = {
        {{0, 16384, 12.4, {}}, "waiting for the analyzer, 0:12"},
        {{1, 16384, 3, {}}, "1 of 16384 points"},  // no rate yet
        {{1234, 16384, 20, 96}, "1234 of 16384 points, 96.0 points/s, 2:38 left"},
        {{500, {}, 9, 50.25}, "500 points, 50.3 points/s"},
        {{502, 501, 9, 50}, "502 of 501 points, 50.0 points/s"},
        {{100, 400, 9, 2.5}, "100 of 400 points, 2.5 points/s, 2:00 left"},
    };
    for (const auto& [reading, text] : cases) EXPECT_EQ(ProgressLine::Text(reading), text) << text;
}

TEST(ProgressLine, ExpectedCountFromTheHeadersStep) {
    const struct {
        double start, end, step;
        std::optional<int> expected;
    } cases[] = {
        {140000, 143500, 35, 101}, {136500, 143500, 14, 501},
        {35000, 297000, 655, 401}, {10000, 100000, 0, {}},
        {100000, 10000, 10, {}},   {100000, 10000, -900, 101},
        {0, 1e9, 1, 16384},        {5, 5, 1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressLine::ExpectedPoints(c.start, c.end, c.step, 16384), c.expected)
            << c.start << " " << c.end << " " << c.step;
}

// The values worked out apart from the code: with w = 2 pi 7.1e6, the shunt
// C of 0.02 S is 0.02 / w, the series C of -50 ohm 1 / (50 w), the shunt L of
// -0.02 S 1 / (0.02 w) (Python: 4.4832378335745165e-10, the same, 1.120809458393629e-06).
TEST(MatchText, NetworksFromTheLoadToTheLine) {
    LMatch match{7.1e6, 25, 25, LMatch::Networks({25, 25}, 7.1e6)};
    EXPECT_EQ(MatchText::Readable(match),
              "  match       7.100 MHz, 25.0 + j25.0 ohm\n"
              "              load - shunt 448 pF - 50 ohm\n"
              "              load - series 448 pF - shunt 1.12 uH - 50 ohm\n");
    EXPECT_EQ(MatchText::Json(match),
              "{\"freq_hz\": 7100000, \"r_ohm\": 25, \"x_ohm\": 25, \"networks\": "
              "[{\"next_to_load\": \"shunt\", \"series\": null, \"shunt\": {\"part\": \"C\", "
              "\"value\": 4.4832378335745165e-10}}, {\"next_to_load\": \"series\", \"series\": "
              "{\"part\": \"C\", \"value\": 4.4832378335745165e-10}, \"shunt\": {\"part\": "
              "\"L\", \"value\": 0.000001120809458393629}}]}");
    EXPECT_EQ(MatchText::Json(std::nullopt), "null");

    match = {14e6, 50, 0, LMatch::Networks({50, 0}, 14e6)};
    EXPECT_EQ(MatchText::Readable(match),
              "  match       14.000 MHz, 50.0 + j0.0 ohm\n"
              "              load - 50 ohm (nothing to add)\n");
    match = {14e6, -2, -3.04, {}};
    EXPECT_EQ(MatchText::Readable(match),
              "  match       14.000 MHz, -2.0 - j3.0 ohm\n"
              "              none (the resistance is not above 0 ohm)\n");

    const std::pair<double, const char*> values[] = {
        {1.2449e-6, "1.24 uH"}, {2.12e-10, "212 pH"}, {4.7e-8, "47.0 nH"},   {9.996e-7, "1.00 uH"},
        {9.994e-7, "999 nH"},   {1e-12, "1.00 pH"},   {1e-3, "1.00 mH"},     {0.5, "500 mH"},
        {3.3, "3.30 H"},        {1e-16, "0.10 fH"},   {-4.7e-9, "-4.70 nH"},
    };
    for (const auto& [value, text] : values)
        EXPECT_EQ(MatchText::Engineering(value, "H"), text) << value;
}
