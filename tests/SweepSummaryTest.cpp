#include <gtest/gtest.h>

#include <algorithm>

#include "TestSweeps.h"
#include "core/analysis/SweepSummary.h"

// The expected lines are what summary() of tests/data/trim_figures.py,
// written apart from this code, gives for these points.
TEST(SweepSummary, RulesOnSmallSweeps) {
    const struct {
        const char* name;
        const char* points;
        const char* want;
    } cases[] = {
        {"edges interpolated on both sides", "3/-20 1/-10 1.5/10 4/30",
         "1.0000@2000000.000 res 2500000.000 2:1 1500000.000-3200000.000 1.5:1 "
         "1750000.000-3000000.000"},
        {"first of two equal minima", "2.5/-1 1.2/-1 1.8/-1 1.2/-1 2.5/-1",
         "1.2000@2000000.000 res null 2:1 1384615.385-4615384.615 1.5:1 1769230.769-2500000.000"},
        {"run reaching both ends", "1.9/5 1.1/5 1.4/5",
         "1.1000@2000000.000 res null 2:1 1000000.000-3000000.000 1.5:1 1500000.000-3000000.000"},
        {"minimum above 2: no bandwidth", "3/1 2.5/0 3/-1",
         "2.5000@2000000.000 res 2000000.000 2:1 null 1.5:1 null"},
        {"a point at the threshold is inside", "2.5/1 2/1 1.5/1 2/1 2.5/1",
         "1.5000@3000000.000 res null 2:1 2000000.000-4000000.000 1.5:1 3000000.000-3000000.000"},
        {"crossing nearest the minimum, not the first", "5/-5 4/5 3/5 1.2/5 3/-15",
         "1.2000@4000000.000 res 4250000.000 2:1 3555555.556-4444444.444 1.5:1 "
         "3833333.333-4166666.667"},
        {"two equally near crossings: the lower", "5/-1 1.2/1 5/-1",
         "1.2000@2000000.000 res 1500000.000 2:1 1789473.684-2210526.316 1.5:1 "
         "1921052.632-2078947.368"},
        {"a reactance of exactly 0 is a crossing", "3/4 3/0 3/4",
         "3.0000@1000000.000 res 2000000.000 2:1 null 1.5:1 null"},
        {"no crossing at all", "1.5/3 1.4/7",
         "1.4000@2000000.000 res null 2:1 1000000.000-2000000.000 1.5:1 1000000.000-2000000.000"},
        {"one point", "1.3/-2",
         "1.3000@1000000.000 res null 2:1 1000000.000-1000000.000 1.5:1 1000000.000-1000000.000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SummaryLine(SweepSummary::Of(SmallSweep(c.points))), c.want) << c.name;
}

TEST(SweepSummary, EmptySweepHasNothingAndDownwardGivesLowBelowHigh) {
    const SweepSummary empty = SweepSummary::Of({});
    EXPECT_FALSE(empty.minSwr || empty.minSwrHz || empty.resonanceHz || empty.swr2 || empty.swr1_5);
    // Worked out by hand.
    Sweep downward = SmallSweep("3/1 1/1 3/1");
    std::reverse(downward.pointHz.begin(), downward.pointHz.end());
    EXPECT_EQ(
        SummaryLine(SweepSummary::Of(downward)),
        "1.0000@2000000.000 res null 2:1 1500000.000-2500000.000 1.5:1 1750000.000-2250000.000");
}
