#pragma once

#include <QPointF>
#include <complex>
#include <optional>
#include <utility>
#include <vector>

// Where things go on a Smith chart of a square image, computed without
// drawing so that they can be checked on their own. Everything lies in the
// plane of the reflection coefficient gamma against 50 ohms; pixels count
// from the image's top-left corner, y down.
namespace SmithGeometry {

using Gamma = std::complex<double>;

// The outer circle's radius as a share of the side.
constexpr double kRadiusShare = 0.45;

// Gamma 0 at the image's centre, gamma 1 (an open end) at the right of the
// outer circle, positive reactance (positive imaginary part) up.
QPointF PixelOf(Gamma gamma, int side);

struct Circle {
    Gamma centre;
    double radius = 0;
};

// Where Z/50 has the real part r: through gamma 1 and (r - 1) / (r + 1).
Circle OfResistance(double r);
// Where Z/50 has the imaginary part x (not 0): through gamma 1, all but
// its part inside the outer circle lies off the chart.
Circle OfReactance(double x);

// `segments` + 1 points round the circle, counter-clockwise from angle 0,
// the last one the first again.
std::vector<Gamma> PointsOf(const Circle& circle, int segments);

// The part of the straight line from a to b that lies within the outer
// circle (|gamma| <= 1), from the end nearer to a; none where none does.
std::optional<std::pair<Gamma, Gamma>> WithinChart(Gamma a, Gamma b);

}  // namespace SmithGeometry
