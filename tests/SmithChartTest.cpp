#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "core/Impedance.h"
#include "core/Sweep.h"
#include "graph/GraphGeometry.h"
#include "graph/SmithChart.h"
#include "graph/SmithGeometry.h"

namespace {

using SmithGeometry::Gamma;

// The reflection of a load given in units of 50 ohms.
Gamma reflectionOf(Gamma normalised) {
    return Impedance::Reflection(normalised * Impedance::kReferenceOhm);
}

// True when the pixel of `gamma`, or one next to it, has the colour.
bool colourAt(const QImage& image, Gamma gamma, const QColor& colour) {
    const QPointF at = SmithGeometry::PixelOf(gamma, image.width());
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(int(std::floor(at.x())) + dx, int(std::floor(at.y())) + dy);
            if (image.valid(p) && image.pixelColor(p) == colour) return true;
        }
    }
    return false;
}

}  // namespace

TEST(SmithGeometry, PixelsAndClipping) {
    // 800 pixels: centre 400, radius 360, positive reactance up.
    const std::pair<Gamma, QPointF> pixels[] = {
        {{0, 0}, {400, 400}}, {{1, 0}, {760, 400}},     {{-1, 0}, {40, 400}},
        {{0, 1}, {400, 40}},  {{0.2, 0.4}, {472, 256}}, {{0.2, -0.4}, {472, 544}},
    };
    for (const auto& [gamma, pixel] : pixels) EXPECT_EQ(SmithGeometry::PixelOf(gamma, 800), pixel);

    const double half = std::sqrt(0.75);
    const struct {
        const char* name;
        Gamma a, b;
        std::optional<std::pair<Gamma, Gamma>> inside;
    } lines[] = {
        {"leaving", {0, 0}, {2, 0}, {{{0, 0}, {1, 0}}}},
        {"through", {-2, 0.5}, {2, 0.5}, {{{-half, 0.5}, {half, 0.5}}}},
        {"passing by", {-2, 2}, {2, 2}, std::nullopt},
        {"a point inside", {0.3, 0}, {0.3, 0}, {{{0.3, 0}, {0.3, 0}}}},
    };
    for (const auto& c : lines) {
        const auto got = SmithGeometry::WithinChart(c.a, c.b);
        ASSERT_EQ(bool(got), bool(c.inside)) << c.name;
        if (!got) continue;
        EXPECT_LT(std::abs(got->first - c.inside->first) + std::abs(got->second - c.inside->second),
                  1e-12)
            << c.name;
    }
}

TEST(SmithChart, LocusGridAndCirclesOnTheirPixels) {
    // 50 + j50, 50 and 150 ohms: gamma 0.2 + 0.4j, 0 and 0.5.
    Sweep sweep;
    for (const Gamma z : {Gamma(1, 1), Gamma(1, 0), Gamma(3, 0)}) {
        sweep.pointHz.push_back(14e6 + 1e5 * double(sweep.points.size()));
        sweep.points.push_back({{Impedance::SwrOf(50.0 * z), 50 * z.real(), 50 * z.imag()}});
    }
    const QImage image = SmithChart::Image(sweep, QString());
    ASSERT_EQ(image.size(), QSize(800, 800));

    const QColor red(255, 0, 0);
    const QColor grey = GraphGeometry::kGridColour;
    // Each point, half-way along each join, and positive reactance up (on
    // the pixels pinned above).
    for (const Gamma gamma : {Gamma(0.2, 0.4), Gamma(0, 0), Gamma(0.5, 0), Gamma(0.1, 0.2)})
        EXPECT_TRUE(colourAt(image, gamma, red)) << gamma;
    EXPECT_FALSE(colourAt(image, Gamma(0.2, -0.4), red));

    // The outer circle, the real axis, and each circle and arc where loads of
    // its resistance (reactance) lie, near the rim, away from locus and labels.
    for (const double degrees : {30, 135, 200, 300}) {
        const Gamma rim = std::polar(1.0, degrees * M_PI / 180);
        EXPECT_TRUE(colourAt(image, rim, grey)) << degrees;
        EXPECT_FALSE(colourAt(image, 1.01 * rim, grey)) << degrees;
    }
    EXPECT_TRUE(colourAt(image, Gamma(-0.8, 0), grey));
    for (const double value : SmithChart::kGridValues) {
        for (const double other : {-3.0, 3.0}) {
            EXPECT_TRUE(colourAt(image, reflectionOf({value, other}), grey)) << value;
            EXPECT_TRUE(colourAt(image, reflectionOf({0.1, other * value / 3}), grey)) << value;
        }
    }
    // The arcs of x = +-2 stop at the outer circle: their circles go on outside.
    EXPECT_FALSE(colourAt(image, Gamma(0.75, 0.933), grey));
    EXPECT_FALSE(colourAt(image, Gamma(0.75, -0.933), grey));

    // The 2:1 circle through 40 - j30 ohms (gamma -j/3).
    EXPECT_TRUE(colourAt(image, reflectionOf({0.8, -0.6}), SmithChart::kSwr2Colour));
    // The lowest SWR (50 ohms, at the centre) ringed, below the centre where no join runs.
    EXPECT_TRUE(colourAt(image, Gamma(0, -7.0 / 360), SmithChart::kMarkColour));
    // The first frequency printed above and right of its point (472, 256).
    int ink = 0;
    for (int y = 234; y < 256; ++y) {
        for (int x = 478; x < 560; ++x) ink += image.pixelColor(x, y) == SmithChart::kMarkColour;
    }
    EXPECT_GT(ink, 20);
}
