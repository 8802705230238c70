#include "cli/SweepImage.h"

#include <algorithm>
#include <limits>

#include "core/Sweep.h"
#include "core/WireFormat.h"

SweepImage::SweepImage(const Sweep& sweep, const Sweep* reference, const QString& referenceName)
    : m_legend(QuantityLegend()) {
    drawFrame(sweep.StartHz().value_or(0), sweep.EndHz().value_or(0));
    if (reference)
        plotSwr(*reference, kReferenceColour,
                QStringLiteral("SWR of %1 (reference)").arg(referenceName));
    std::vector<TraceStyle> traces;
    for (std::size_t k = 0; k < kQuantities.size(); ++k)
        traces.push_back({Quantity(k), QColor::fromRgb(kQuantities[k].colour)});
    m_picture.painter().PlotSweep(m_picture.axes(), sweep, m_start, m_end, traces);
}

SweepImage::SweepImage(const std::vector<Sweep>& sweeps, const QStringList& names) {
    // A sweep may run downwards; the frame runs upwards over all of them.
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const Sweep& sweep : sweeps) {
        for (const auto& hz : {sweep.StartHz(), sweep.EndHz()}) {
            low = std::min(low, hz.value_or(low));
            high = std::max(high, hz.value_or(high));
        }
    }
    if (low > high) low = high = 0;
    drawFrame(low, high);
    for (std::size_t i = 0; i < sweeps.size() && i < kColours.size(); ++i)
        plotSwr(sweeps[i], kColours[i], names.value(qsizetype(i)));
}

void SweepImage::drawFrame(double lowHz, double highHz) {
    m_start = lowHz / WireFormat::kHzPerUnit;
    m_end = highHz / WireFormat::kHzPerUnit;
    m_picture.painter().DrawGraphFrame(m_picture.axes(), m_start, m_end);
}

void SweepImage::plotSwr(const Sweep& sweep, std::uint32_t colour, const QString& name) {
    const QColor trace = QColor::fromRgb(colour);
    m_picture.painter().PlotSweep(m_picture.axes(), sweep, m_start, m_end,
                                  {{Quantity::Swr, trace}});
    m_legend.push_back({trace, name});
}

QImage SweepImage::Page(const QString& title) { return m_picture.PageImage(title, m_legend); }
