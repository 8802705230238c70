#include "graph/SmithGeometry.h"

#include <algorithm>
#include <cmath>

#include "core/Angles.h"

namespace SmithGeometry {
namespace {

using Angles::kPi;

}  // namespace

QPointF PixelOf(Gamma gamma, int side) {
    const double centre = side / 2.0;
    const double radius = kRadiusShare * side;
    return {centre + radius * gamma.real(), centre - radius * gamma.imag()};
}

Circle OfResistance(double r) { return {Gamma(r / (1 + r), 0), 1 / (1 + r)}; }

Circle OfReactance(double x) { return {Gamma(1, 1 / x), 1 / std::fabs(x)}; }

std::vector<Gamma> PointsOf(const Circle& circle, int segments) {
    std::vector<Gamma> points;
    points.reserve(std::size_t(segments) + 1);
    for (int i = 0; i < segments; ++i)
        points.push_back(circle.centre + std::polar(circle.radius, 2 * kPi * i / segments));
    points.push_back(points.front());
    return points;
}

std::optional<std::pair<Gamma, Gamma>> WithinChart(Gamma a, Gamma b) {
    // |a + t (b - a)|^2 <= 1 between the roots of a quadratic in t.
    const Gamma d = b - a;
    const double qa = std::norm(d);
    const double qb = 2 * (a.real() * d.real() + a.imag() * d.imag());
    const double qc = std::norm(a) - 1;
    if (qa == 0) {
        if (qc > 0) return std::nullopt;
        return std::pair{a, b};
    }
    const double discriminant = qb * qb - 4 * qa * qc;
    if (discriminant < 0) return std::nullopt;
    const double root = std::sqrt(discriminant);
    const double from = std::max(0.0, (-qb - root) / (2 * qa));
    const double to = std::min(1.0, (-qb + root) / (2 * qa));
    if (from > to) return std::nullopt;
    return std::pair{a + from * d, a + to * d};
}

}  // namespace SmithGeometry
