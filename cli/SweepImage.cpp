#include "cli/SweepImage.h"

#include "core/Sweep.h"
#include "core/WireFormat.h"

SweepImage::SweepImage(const Sweep& sweep, const Sweep* reference, const QString& referenceName)
    : m_legend(QuantityLegend()) {
    const double start = sweep.StartHz().value_or(0) / WireFormat::kHzPerUnit;
    const double end = sweep.EndHz().value_or(0) / WireFormat::kHzPerUnit;
    std::vector<TraceStyle> traces;
    for (std::size_t k = 0; k < kQuantities.size(); ++k)
        traces.push_back({Quantity(k), QColor::fromRgb(kQuantities[k].colour)});
    GraphPainter& painter = m_picture.painter();
    painter.DrawGraphFrame(m_picture.axes(), start, end);
    if (reference) {
        const QColor colour = QColor::fromRgb(kReferenceColour);
        painter.PlotSweep(m_picture.axes(), *reference, start, end, {{Quantity::Swr, colour}});
        m_legend.push_back({colour, QStringLiteral("SWR of %1 (reference)").arg(referenceName)});
    }
    painter.PlotSweep(m_picture.axes(), sweep, start, end, traces);
}

QImage SweepImage::Page(const QString& title) { return m_picture.PageImage(title, m_legend); }
