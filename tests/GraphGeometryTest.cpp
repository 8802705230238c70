#include <gtest/gtest.h>

#include "graph/GraphGeometry.h"

using namespace GraphGeometry;

// The window's graph box: 8895 x 4695 twips, zero line 80 twips up.
constexpr double kWidth = 8895, kHeight = 4695, kOriginY = kHeight - 80;

TEST(GraphGeometry, NineHorizontalLinesFromTheZeroLineUpLabelledFromTheStart) {
    const auto rows = gridRows(kHeight, kOriginY, 0, 10);
    const std::int32_t ys[] = {4146, 3676, 3206, 2736, 2266, 1796, 1326, 856, 386};
    ASSERT_EQ(rows.size(), std::size(ys));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].y, ys[i]) << i;
        EXPECT_EQ(rows[i].swrLabel, QString::number(i + 1) + QStringLiteral(".0"));
    }
    // The SWR labels count up from the scale's start value.
    const auto raised = gridRows(kHeight, kOriginY, 2, 10);
    EXPECT_EQ(raised.front().swrLabel, QStringLiteral("3.0"));
    EXPECT_EQ(raised.back().swrLabel, QStringLiteral("11.0"));
    EXPECT_TRUE(gridRows(0, -80, 0, 10).empty());
}

// From 350 twips on, ten steps rounded half to even: on the window's graph
// eleven lines and labels; a step rounded up loses the eleventh ((8905 - 350)
// / 10 = 855.5 becomes 856 and would put it at 8910); a step that rounds to
// nothing must still end the loop.
TEST(GraphGeometry, VerticalLinesAndLabelsOnTheEvenRoundedStep) {
    const struct {
        double width;
        std::int32_t step;
        std::size_t count;
    } cases[] = {{kWidth, 854, 11}, {8915, 856, 11}, {8905, 856, 10},
                 {354, 0, 1},       {350, 0, 1},     {349, 0, 0}};
    for (const auto& c : cases) {
        const auto xs = gridColumns(c.width, 0);
        ASSERT_EQ(xs.size(), c.count) << c.width;
        for (std::size_t k = 0; k < xs.size(); ++k)
            EXPECT_EQ(xs[k], 350 + std::int32_t(k) * c.step) << c.width;
        EXPECT_EQ(frequencyLabels(c.width, 0, 10000, 100000).size(), c.count) << c.width;
    }
}

TEST(GraphGeometry, FrequencyLabelsForBands) {
    const struct {
        double start, end;
        std::vector<const char*> texts;
    } cases[] = {
        {10000,
         100000,
         {"1.000", "1.900", "2.800", "3.700", "4.600", "5.500", "6.400", "7.300", "8.200", "9.100",
          "10.000"}},
        {53305,
         54035,
         {"5.331", "5.338", "5.345", "5.352", "5.360", "5.367", "5.374", "5.382", "5.389", "5.396",
          "5.404"}},
        {0, 0, std::vector<const char*>(11, "0.000")},
    };
    for (const auto& c : cases) {
        const auto labels = frequencyLabels(kWidth, 0, c.start, c.end);
        ASSERT_EQ(labels.size(), c.texts.size());
        for (std::size_t k = 0; k < labels.size(); ++k) {
            EXPECT_EQ(labels[k].text, QString::fromLatin1(c.texts[k])) << c.start << " label " << k;
            EXPECT_EQ(labels[k].x, 350 + std::int32_t(k) * 854);
        }
    }
}

TEST(GraphGeometry, PointsSpanThePlotAndTheRangeEvenly) {
    const struct {
        int numPoints, i;
        double x, frequency;
    } cases[] = {
        {10, 0, 350, 140000},    {10, 1, 1204.5, 140350},    {10, 10, kWidth, 143500},
        {100, 40, 3768, 141400}, {100, 100, kWidth, 143500}, {1, 1, kWidth, 143500},
        {10, 20, 17440, 147000},  // beyond the last point, as a drag far right reads it
    };
    for (const auto& c : cases) {
        const double pitch = pointPitch(kWidth, c.numPoints);
        EXPECT_DOUBLE_EQ(pointX(0, pitch, c.i), c.x) << c.numPoints << " " << c.i;
        EXPECT_DOUBLE_EQ(pointFrequency(140000, 143500, c.numPoints, c.i), c.frequency);
    }
    EXPECT_DOUBLE_EQ(pointX(600, pointPitch(kWidth, 10), 0), 950);
}
