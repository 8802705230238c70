#include "cli/ComparisonImage.h"

#include <algorithm>
#include <limits>

#include "core/WireFormat.h"

ComparisonImage::ComparisonImage(const std::vector<Sweep>& sweeps, const QStringList& names) {
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
    const double start = low / WireFormat::kHzPerUnit;
    const double end = high / WireFormat::kHzPerUnit;
    GraphPainter& painter = m_picture.painter();
    painter.DrawGraphFrame(m_picture.axes(), start, end);
    for (std::size_t i = 0; i < sweeps.size() && i < kColours.size(); ++i) {
        const QColor colour = QColor::fromRgb(kColours[i]);
        painter.PlotSweep(m_picture.axes(), sweeps[i], start, end, {{Quantity::Swr, colour}});
        m_legend.push_back({colour, names.value(qsizetype(i))});
    }
}

QImage ComparisonImage::Page(const QString& title) { return m_picture.PageImage(title, m_legend); }
