#include <gtest/gtest.h>

#include <algorithm>

#include "TestSweeps.h"
#include "core/analysis/SweepSummary.h"

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

// The expected figures are what summary() of tests/data/trim_figures.py,
// written apart from this code, gives for these points.
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
    expectEdges(SweepSummary::Of(downward).swr2, 1.5e6, 2.5e6, "downward");
}
