#include "graph/SmithChart.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "core/Angles.h"
#include "core/Impedance.h"
#include "core/NumberText.h"
#include "core/Quantities.h"
#include "core/Sweep.h"
#include "core/analysis/SweepSummary.h"
#include "graph/GraphGeometry.h"
#include "graph/SmithGeometry.h"
#include "platform/drawing/Drawing.h"
#include "platform/drawing/Fonts.h"
#include "platform/runtime/NumberRules.h"

namespace SmithChart {
namespace {

using SmithGeometry::Gamma;

using Angles::kPi;
constexpr double kMarkRadius = 7;  // pixels

const QColor kLocusColour = QColor::fromRgb(InfoOf(Quantity::Swr).colour);

// Chords a pixel or two long: round to the eye, not wasteful for the
// large reactance circles that lie mostly off the chart.
int segmentsFor(double radius, int side) {
    return std::clamp(int(kPi * radius * SmithGeometry::kRadiusShare * side), 64, 1 << 14);
}

class Chart {
public:
    Chart(Drawing& drawing, int side)
        : m_drawing(drawing),
          m_side(side),
          m_font(Fonts::DialogFont(true, std::max(11, side / 60))) {
        m_drawing.SetTextFont(m_font);
    }

    QPointF pixel(Gamma gamma) const { return SmithGeometry::PixelOf(gamma, m_side); }

    void line(Gamma a, Gamma b, const QColor& colour) {
        const QPointF from = pixel(a);
        const QPointF to = pixel(b);
        m_drawing.Line(from.x(), from.y(), to.x(), to.y(), colour);
    }

    // Consecutive points joined, clipped to the outer circle where asked.
    void polyline(const std::vector<Gamma>& points, const QColor& colour, bool clipped) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (!clipped) {
                line(points[i - 1], points[i], colour);
            } else if (const auto inside = SmithGeometry::WithinChart(points[i - 1], points[i])) {
                line(inside->first, inside->second, colour);
            }
        }
    }

    void circle(const SmithGeometry::Circle& c, const QColor& colour, bool clipped) {
        polyline(SmithGeometry::PointsOf(c, segmentsFor(c.radius, m_side)), colour, clipped);
    }

    // A ring of `radius` pixels round a pixel.
    void ring(QPointF at, double radius, const QColor& colour) {
        const auto points = SmithGeometry::PointsOf({Gamma(at.x(), at.y()), radius}, 32);
        for (std::size_t i = 1; i < points.size(); ++i) {
            m_drawing.Line(points[i - 1].real(), points[i - 1].imag(), points[i].real(),
                           points[i].imag(), colour);
        }
    }

    QSizeF textSize(const QString& text) const {
        const QFontMetrics metrics(m_font);
        return QSizeF(metrics.horizontalAdvance(text), metrics.height());
    }

    // Text with its top-left corner at `at`, kept inside the image.
    void text(const QString& text, QPointF at, const QColor& colour) {
        const QSizeF size = textSize(text);
        m_drawing.SetForeColor(colour);
        m_drawing.SetCurrentX(std::clamp(at.x(), 2.0, std::max(2.0, m_side - size.width() - 2)));
        m_drawing.SetCurrentY(std::clamp(at.y(), 2.0, std::max(2.0, m_side - size.height() - 2)));
        m_drawing.Print(text);
    }

    void centredText(const QString& text, QPointF at, const QColor& colour) {
        const QSizeF size = textSize(text);
        this->text(text, at - QPointF(size.width() / 2, size.height() / 2), colour);
    }

    Drawing& drawing() { return m_drawing; }
    int side() const { return m_side; }
    double lineHeight() const { return textSize(QStringLiteral("0")).height(); }

private:
    Drawing& m_drawing;
    int m_side;
    QFont m_font;
};

void drawGrid(Chart& chart) {
    const QColor& grey = GraphGeometry::kGridColour;
    chart.circle({Gamma(0, 0), 1}, grey, false);
    chart.line(Gamma(-1, 0), Gamma(1, 0), grey);
    for (const double value : kGridValues) {
        chart.circle(SmithGeometry::OfResistance(value), grey, true);
        // Its label just above the axis where the circle crosses it on the left.
        const QString label = QString::fromStdString(NumberText::Shortest(value));
        const QPointF crossing = chart.pixel(Gamma((value - 1) / (value + 1), 0));
        chart.text(label, crossing + QPointF(2, -chart.lineHeight()), grey);
        for (const double x : {value, -value}) {
            chart.circle(SmithGeometry::OfReactance(x), grey, true);
            // Its label just inside the rim where the arc meets it.
            const Gamma rim = Impedance::Reflection({0, x * Impedance::kReferenceOhm});
            chart.centredText((x > 0 ? QStringLiteral("+j") : QStringLiteral("-j")) + label,
                              chart.pixel(0.92 * rim), grey);
        }
    }
}

QString mhz(double hz) {
    return NumberRules::formatPattern(hz / 1e6, u"#0.000") + QStringLiteral(" MHz");
}

void drawLocus(Chart& chart, const Sweep& sweep) {
    std::vector<Gamma> locus;
    for (const Sweep::Point& point : sweep.points)
        locus.push_back(Impedance::Reflection({point.rOhm(), point.xOhm()}));
    if (locus.empty()) return;
    // A single point is drawn as a dot, as the graph draws it.
    if (locus.size() == 1) locus.push_back(locus.front());
    Drawing& drawing = chart.drawing();
    drawing.SetDrawWidth(2);
    chart.polyline(locus, kLocusColour, false);

    const std::size_t lowest = *SweepSummary::LowestPoint(sweep);
    chart.ring(chart.pixel(locus[lowest]), kMarkRadius, kMarkColour);
    drawing.SetDrawWidth(1);

    const QPointF offset(kMarkRadius, -chart.lineHeight() - 2);
    chart.text(mhz(sweep.FrequencyHz(0)), chart.pixel(locus.front()) + offset, kMarkColour);
    if (sweep.points.size() > 1) {
        chart.text(mhz(sweep.FrequencyHz(sweep.points.size() - 1)),
                   chart.pixel(locus.back()) + offset, kMarkColour);
    }
}

void drawLegend(Chart& chart, const Sweep& sweep) {
    const double h = chart.lineHeight();
    const double left = 8;
    const double key = 24;  // the width of a legend's sample
    double y = chart.side() - 2 * h - 8;
    chart.drawing().Line(left, y + h / 2, left + key, y + h / 2, kSwr2Colour);
    chart.text(QStringLiteral("SWR 2:1"), QPointF(left + key + 6, y), kMarkColour);
    if (const auto lowest = SweepSummary::LowestPoint(sweep)) {
        y += h;
        chart.ring(QPointF(left + key / 2, y + h / 2), kMarkRadius - 2, kMarkColour);
        chart.text(QStringLiteral("lowest SWR %1 at %2")
                       .arg(NumberRules::formatPattern(sweep.points[*lowest].swr(), u"0.00"),
                            mhz(sweep.FrequencyHz(*lowest))),
                   QPointF(left + key + 6, y), kMarkColour);
    }
}

}  // namespace

void Draw(Drawing& drawing, const Sweep& sweep, const QString& title) {
    drawing.SetScaleMode(Drawing::ScaleMode::Pixels);
    drawing.Cls();
    Chart chart(drawing, int(std::min(drawing.Width(), drawing.Height())));
    drawGrid(chart);
    chart.circle({Gamma(0, 0), 1 / 3.0}, kSwr2Colour, false);
    drawLocus(chart, sweep);
    chart.text(title, QPointF(8, 8), kMarkColour);
    drawLegend(chart, sweep);
}

QImage Image(const Sweep& sweep, const QString& title, int side) {
    Drawing drawing(QSize(side, side));
    Draw(drawing, sweep, title);
    return drawing.Image();
}

}  // namespace SmithChart
