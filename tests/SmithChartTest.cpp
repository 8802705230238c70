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

// True when the pixel of gamma, or one next to it, has the colour.
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

TEST(SmithGeometry, PixelsCirclesAndClipping) {
    // 800 pixels: centre 400, radius 360, positive reactance up.
    const std::pair<Gamma, QPointF> pixels[] = {
        {{0, 0}, {400, 400}}, {{1, 0}, {760, 400}},     {{-1, 0}, {40, 400}},
        {{0, 1}, {400, 40}},  {{0.2, 0.4}, {472, 256}}, {{0.2, -0.4}, {472, 544}},
    };
    for (const auto& [gamma, pixel] : pixels) EXPECT_EQ(SmithGeometry::PixelOf(gamma, 800), pixel);

    // Every load of that resistance (reactance) lies on its circle.
    for (const double value : SmithChart::kGridValues) {
        for (const double other : {-7.0, -1.0, -0.3, 0.0, 0.4, 2.0, 9.0}) {
            const auto r = SmithGeometry::OfResistance(value);
            EXPECT_NEAR(std::abs(reflectionOf({value, other}) - r.centre), r.radius, 1e-12);
            for (const double x : {value, -value}) {
                const auto c = SmithGeometry::OfReactance(x);
                EXPECT_NEAR(std::abs(reflectionOf({std::fabs(other), x}) - c.centre), c.radius,
                            1e-12);
            }
        }
    }

    const double half = std::sqrt(0.75);
    const struct {
        const char* name;
        Gamma a, b;
        std::optional<std::pair<Gamma, Gamma>> inside;
    } lines[] = {
        {"wholly inside", {0, 0}, {0.5, 0}, {{{0, 0}, {0.5, 0}}}},
        {"leaving", {0, 0}, {2, 0}, {{{0, 0}, {1, 0}}}},
        {"through", {-2, 0.5}, {2, 0.5}, {{{-half, 0.5}, {half, 0.5}}}},
        {"wholly outside", {2, 0}, {3, 0}, std::nullopt},
        {"passing by", {-2, 2}, {2, 2}, std::nullopt},
        {"a point inside", {0.3, 0}, {0.3, 0}, {{{0.3, 0}, {0.3, 0}}}},
        {"a point outside", {2, 2}, {2, 2}, std::nullopt},
    };
    for (const auto& c : lines) {
        const auto got = SmithGeometry::WithinChart(c.a, c.b);
        ASSERT_EQ(bool(got), bool(c.inside)) << c.name;
        if (!got) continue;
        EXPECT_NEAR(std::abs(got->first - c.inside->first), 0, 1e-12) << c.name;
        EXPECT_NEAR(std::abs(got->second - c.inside->second), 0, 1e-12) << c.name;
    }
}

TEST(SmithChart, LocusGridAndCirclesOnTheirPixels) {
    // 50 + j50, 50, 150 and 50 - j50 ohms: gamma 0.2 + 0.4j, 0, 0.5, 0.2 - 0.4j.
    const Gamma loads[] = {{1, 1}, {1, 0}, {3, 0}, {1, -1}};
    Sweep sweep;
    for (const Gamma z : loads) {
        sweep.pointHz.push_back(14e6 + 1e5 * double(sweep.points.size()));
        sweep.points.push_back({{Impedance::SwrOf(50.0 * z), 50 * z.real(), 50 * z.imag()}});
    }
    const QImage image = SmithChart::Image(sweep, QString());
    ASSERT_EQ(image.size(), QSize(SmithChart::kSide, SmithChart::kSide));
    ASSERT_GE(image.width(), 600);

    const QColor red(255, 0, 0);
    const QColor grey = GraphGeometry::kGridColour;
    const QColor white(Qt::white);
    for (const Gamma gamma : {Gamma(0.2, 0.4), Gamma(0, 0), Gamma(0.5, 0), Gamma(0.2, -0.4)})
        EXPECT_TRUE(colourAt(image, gamma, red)) << gamma;
    // Half-way along the joins too.
    EXPECT_TRUE(colourAt(image, {0.25, 0}, red));
    EXPECT_TRUE(colourAt(image, {0.35, -0.2}, red));

    // The outer circle, the real axis, and each circle and arc near the rim,
    // away from the locus and the labels.
    for (const double degrees : {30, 135, 200, 300}) {
        const Gamma rim = std::polar(1.0, degrees * M_PI / 180);
        EXPECT_TRUE(colourAt(image, rim, grey)) << degrees;
        EXPECT_TRUE(colourAt(image, 1.01 * rim, white)) << degrees;
    }
    EXPECT_TRUE(colourAt(image, {-0.8, 0}, grey));
    for (const double value : SmithChart::kGridValues) {
        for (const double other : {-3.0, 3.0}) {
            EXPECT_TRUE(colourAt(image, reflectionOf({value, other}), grey)) << value;
            EXPECT_TRUE(colourAt(image, reflectionOf({0.1, other * value / 3}), grey)) << value;
        }
    }
    // The arcs of x = +-2 stop at the outer circle: their circles go on outside.
    EXPECT_TRUE(colourAt(image, {0.75, 0.933}, white));
    EXPECT_TRUE(colourAt(image, {0.75, -0.933}, white));
    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() - 3), white);

    // The 2:1 circle through 40 - j30 ohms (gamma -j/3).
    EXPECT_TRUE(colourAt(image, reflectionOf({0.8, -0.6}), SmithChart::kSwr2Colour));
    // The lowest SWR (50 ohms, at the centre) ringed, below the centre where no join runs.
    EXPECT_TRUE(colourAt(image, Gamma(0, -7.0 / 360), SmithChart::kMarkColour));
    // The first and last frequency printed above and right of their points.
    for (const Gamma end : {Gamma(0.2, 0.4), Gamma(0.2, -0.4)}) {
        const QPointF at = SmithGeometry::PixelOf(end, image.width());
        int ink = 0;
        for (int y = int(at.y()) - 22; y < int(at.y()); ++y) {
            for (int x = int(at.x()) + 6; x < int(at.x()) + 90; ++x)
                ink += image.pixelColor(x, y) == SmithChart::kMarkColour;
        }
        EXPECT_GT(ink, 20) << end;
    }
}
