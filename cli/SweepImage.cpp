#include "cli/SweepImage.h"

#include "core/Sweep.h"
#include "core/WireFormat.h"

SweepImage::SweepImage(const Sweep& sweep) {
    const double start = sweep.StartHz().value_or(0) / WireFormat::kHzPerUnit;
    const double end = sweep.EndHz().value_or(0) / WireFormat::kHzPerUnit;
    std::vector<TraceStyle> traces;
    for (std::size_t k = 0; k < kQuantities.size(); ++k)
        traces.push_back({Quantity(k), QColor::fromRgb(kQuantities[k].colour)});
    GraphPainter& painter = m_picture.painter();
    painter.DrawGraphFrame(m_picture.axes(), start, end);
    painter.PlotSweep(m_picture.axes(), sweep, start, end, traces);
}

QImage SweepImage::Page(const QString& title) {
    return m_picture.PageImage(title, QuantityLegend());
}
