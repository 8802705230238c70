#include "graph/GraphPainter.h"

#include <QFontMetrics>

#include "core/Sweep.h"
#include "core/WireFormat.h"
#include "graph/GraphGeometry.h"
#include "platform/drawing/Drawing.h"
#include "platform/runtime/NumberRules.h"

using NumberRules::roundToInt16;

GraphAxes GraphAxes::ForPlotHeight(double height) {
    GraphAxes axes;
    axes.originY = height - GraphGeometry::kBottomMargin;
    for (std::size_t k = 0; k < kQuantities.size(); ++k)
        axes.scaleMax[k] = kQuantities[k].fullScale;
    return axes;
}

GraphPainter::GraphPainter(Drawing& plot, Drawing& ohms, Drawing& frequencies, QFont measureFont)
    : m_plot(plot),
      m_ohms(ohms),
      m_frequencies(frequencies),
      m_measureFont(std::move(measureFont)) {}

double GraphPainter::TextWidth(const QString& text) const {
    return QFontMetrics(m_measureFont).horizontalAdvance(text) * Drawing::kTwipsPerPixel;
}

double GraphPainter::TextHeight(const QString&) const {
    return QFontMetrics(m_measureFont).height() * Drawing::kTwipsPerPixel;
}

void GraphPainter::DrawGraphFrame(const GraphAxes& axes, double scanStart, double scanEnd) {
    m_plot.Cls();
    DrawGrid(axes);
    DrawFreqScale(axes, scanStart, scanEnd);
}

void GraphPainter::DrawGrid(const GraphAxes& axes) {
    m_ohms.Cls();
    iResLabel = *roundToInt16(axes.scaleMax[1] / axes.scaleMax[0]);
    const double width = m_plot.Width();
    const double height = m_plot.Height();
    for (const auto& row :
         GraphGeometry::gridRows(height, axes.originY, axes.startYVal, axes.scaleMax[0])) {
        m_plot.Line(0, row.y, width, row.y, GraphGeometry::kGridColour);
        m_plot.SetCurrentX(GraphGeometry::kSwrLabelIndent);
        m_plot.SetCurrentY(row.y);
        m_plot.Print(row.swrLabel);
        PrintResLabel(axes, std::int16_t(row.y));
    }
    for (std::int32_t x : GraphGeometry::gridColumns(width, axes.originX)) {
        m_plot.Line(x, 0, x, height, GraphGeometry::kGridColour);
    }
}

void GraphPainter::PrintResLabel(const GraphAxes& axes, std::int16_t y) {
    const std::int16_t h = *roundToInt16(TextHeight(QStringLiteral("000")) / 2);
    m_ohms.SetCurrentX(0);
    m_ohms.SetCurrentY(y - h);
    m_ohms.Print(NumberRules::formatPattern(iResLabel, u"##0"));
    iResLabel = *roundToInt16(axes.scaleMax[1] / axes.scaleMax[0] + iResLabel);
}

void GraphPainter::DrawFreqScale(const GraphAxes& axes, double scanStart, double scanEnd) {
    const std::int16_t w = *roundToInt16(TextWidth(QStringLiteral("00.000")) / 2);
    const std::int16_t h = *roundToInt16(TextHeight(QStringLiteral("00.000")) / 2);
    m_frequencies.Cls();
    const auto labels =
        GraphGeometry::frequencyLabels(m_plot.Width(), axes.originX, scanStart, scanEnd);
    for (const auto& label : labels) {
        m_frequencies.SetCurrentX(label.x - w);
        m_frequencies.SetCurrentY(h);
        m_frequencies.Print(label.text);
    }
    m_firstLabel = labels.empty() ? QString() : labels.front().text;
    m_lastLabel = labels.empty() ? QString() : labels.back().text;
}

void GraphPainter::PlotTraces(const GraphAxes& axes, int last, const PointValue& value,
                              const std::vector<TraceStyle>& traces) {
    // With one point there is no spacing; it is drawn as a dot at the left edge.
    const double dx = last > 0 ? GraphGeometry::pointPitch(m_plot.Width(), last) : 0.0;
    std::vector<double> xs;
    xs.reserve(std::size_t(std::max(last + 1, 0)));
    double x = GraphGeometry::pointX(axes.originX, dx, 0);
    for (int i = 0; i <= last; ++i, x += dx) xs.push_back(x);
    strokeTraces(axes, xs, value, traces);
}

void GraphPainter::PlotSweep(const GraphAxes& axes, const Sweep& sweep, double scanStart,
                             double scanEnd, const std::vector<TraceStyle>& traces) {
    const int last = int(sweep.points.size()) - 1;
    const PointValue value = [&sweep](int i, Quantity q) {
        return sweep.points[std::size_t(i)].of(q);
    };
    // An answer over its own range is spread as the window spreads it.
    const bool ownRange =
        !sweep.header || (sweep.header->start == scanStart && sweep.header->end == scanEnd);
    if (sweep.pointHz.empty() && ownRange) {
        PlotTraces(axes, last, value, traces);
        return;
    }
    const double left = GraphGeometry::pointX(axes.originX, 0, 0);
    const double perUnit = (m_plot.Width() - left) / (scanEnd - scanStart);
    std::vector<double> xs;
    xs.reserve(sweep.points.size());
    for (std::size_t i = 0; i < sweep.points.size(); ++i)
        xs.push_back(left + (sweep.FrequencyHz(i) / WireFormat::kHzPerUnit - scanStart) * perUnit);
    strokeTraces(axes, xs, value, traces);
}

void GraphPainter::strokeTraces(const GraphAxes& axes, const std::vector<double>& xs,
                                const PointValue& value, const std::vector<TraceStyle>& traces) {
    m_plot.SetDrawWidth(2);
    for (const TraceStyle& trace : traces) {
        if (xs.empty()) break;
        const double scale = m_plot.Height() / axes.scaleMax[std::size_t(trace.quantity)];
        m_plot.SetCurrentX(xs[0]);
        m_plot.SetCurrentY(axes.originY - value(0, trace.quantity) * scale);
        if (xs.size() == 1) m_plot.LineTo(xs[0], m_plot.CurrentY(), trace.colour);
        for (std::size_t i = 1; i < xs.size(); ++i)
            m_plot.LineTo(xs[i], axes.originY - value(int(i), trace.quantity) * scale,
                          trace.colour);
    }
    m_plot.SetDrawWidth(1);
}
