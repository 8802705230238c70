#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "TestSweeps.h"
#include "core/analysis/SweepSummary.h"
#include "core/files/CsvFile.h"

namespace {

using Edges = SweepSummary::Edges;

void expectEdges(const std::optional<Edges>& got, double low, double high,
                 const std::string& what) {
    ExpectValue(got ? std::optional<double>(got->lowHz) : std::nullopt, low, what + " low");
    ExpectValue(got ? std::optional<double>(got->highHz) : std::nullopt, high, what + " high");
}

struct Figures {
    double minSwr, minHz, resonance, low2, high2, low15, high15;
};

void expectFigures(const SweepSummary& s, const Figures& f, const std::string& name) {
    EXPECT_EQ(s.minSwr, f.minSwr) << name;
    EXPECT_EQ(s.minSwrHz, f.minHz) << name;
    ExpectValue(s.resonanceHz, f.resonance, name + " resonance");
    expectEdges(s.swr2, f.low2, f.high2, name + " 2:1");
    expectEdges(s.swr1_5, f.low15, f.high15, name + " 1.5:1");
}

}  // namespace

// Expected figures from the same independent Python as the measured ones below.
TEST(SweepSummary, RulesOnSmallSweeps) {
    const struct {
        const char* name;
        const char* points;
        Figures want;
    } cases[] = {
        {"edges interpolated on both sides", "3/-20 1/-10 1.5/10 4/30", 1, 2e6, 2.5e6, 1.5e6, 3.2e6,
         1.75e6, 3e6},
        {"first of two equal minima", "2.5/-1 1.2/-1 1.8/-1 1.2/-1 2.5/-1", 1.2, 2e6, kNone,
         1384615.3846153845, 4615384.615384615, 1769230.7692307692, 2.5e6},
        {"run reaching both ends", "1.9/5 1.1/5 1.4/5", 1.1, 2e6, kNone, 1e6, 3e6, 1.5e6, 3e6},
        {"minimum above 2: no bandwidth", "3/1 2.5/0 3/-1", 2.5, 2e6, 2e6, kNone, kNone, kNone,
         kNone},
        {"a point at the threshold is inside", "2.5/1 2/1 1.5/1 2/1 2.5/1", 1.5, 3e6, kNone, 2e6,
         4e6, 3e6, 3e6},
        {"crossing nearest the minimum, not the first", "5/-5 4/5 3/5 1.2/5 3/-15", 1.2, 4e6,
         4.25e6, 3555555.5555555555, 4444444.444444444, 3833333.3333333335, 4166666.6666666665},
        {"two equally near crossings: the lower", "5/-1 1.2/1 5/-1", 1.2, 2e6, 1.5e6,
         1789473.6842105263, 2210526.3157894737, 1921052.6315789474, 2078947.3684210526},
        {"a reactance of exactly 0 is a crossing", "3/4 3/0 3/4", 3, 1e6, 2e6, kNone, kNone, kNone,
         kNone},
        {"no crossing at all", "1.5/3 1.4/7", 1.4, 2e6, kNone, 1e6, 2e6, 1e6, 2e6},
        {"one point", "1.3/-2", 1.3, 1e6, kNone, 1e6, 1e6, 1e6, 1e6},
    };
    for (const auto& c : cases)
        expectFigures(SweepSummary::Of(SmallSweep(c.points)), c.want, c.name);
}

TEST(SweepSummary, EmptySweepHasNothingAndDownwardGivesLowBelowHigh) {
    const SweepSummary empty = SweepSummary::Of({});
    EXPECT_FALSE(empty.minSwr || empty.minSwrHz || empty.resonanceHz || empty.swr2 || empty.swr1_5);
    Sweep downward = SmallSweep("3/1 1/1 3/1");
    std::reverse(downward.pointHz.begin(), downward.pointHz.end());
    const auto edges = SweepSummary::Of(downward).swr2;
    ASSERT_TRUE(edges);
    EXPECT_DOUBLE_EQ(edges->lowHz, 1.5e6);
    EXPECT_DOUBLE_EQ(edges->highHz, 2.5e6);
}

// The expected figures were worked out apart from this code, by a few lines of
// Python over each CSV: minimum = first smallest swr; runs grown from it while
// swr <= threshold, edges f_in + (t - s_in) / (s_out - s_in) * (f_out - f_in);
// crossings at x == 0 and between neighbours of opposite sign, the nearest to
// the minimum's frequency (ties to the lower). The CSVs hold the published
// Touchstone files turned into SWR, R and X (see the data sets' SOURCES.md).
TEST(SweepSummary, MeasuredAntennasAsWorkedOutByHand) {
    const struct {
        const char* name;
        std::size_t points;
        Figures want;
    } cases[] = {
        {"efhw-8band-hf", 401, 1.1905, 6644000, 6728579.005718287, 6213022.076661815,
         7072491.449144915, 6410345.029239766, 6831834.1924398625},
        {"efhw-untuned-hf", 101, 1.2644, 12146000, 12017558.614969935, 11548284.364261169,
         12727423.141891891, 11838712.354844851, 12356242.50681199},
        {"lwa-dipole-ns", 1001, 1.1972, 123560000, 123517273.47611202, 114628235.29411764,
         128008191.01123595, 120126890.24390244, 126008656.71641791},
        {"magloop-20m", 500, 1.1886, 13994000, 13981892.918825561, 13954395.0, 14032940.789473685,
         13973385.714285715, 14015011.08033241},
        // Its 2:1 run reaches the top of the sweep.
        {"slimjim-2m", 101, 1.1253, 146200000, 144315819.20903954, 141320377.35849056, 151000000.0,
         143266822.42990655, 149216517.85714287},
        // Resonant well below its lowest SWR: the nearest crossing is 1.8 MHz away.
        {"vertical-hf-choke", 401, 1.0866, 12015000, 10257071.313672923, 10681565.555555556,
         20920480.769230764, 11200954.672245467, 13060016.563146997},
    };
    for (const auto& c : cases) {
        const auto record = SharedSweep(c.name);
        if (!record) GTEST_SKIP() << "no data set " << c.name;
        ASSERT_EQ(record->points.size(), c.points) << c.name;
        expectFigures(SweepSummary::Of(*record), c.want, c.name);
    }
}
