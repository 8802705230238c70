#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "graph/GraphPage.h"
#include "graph/GraphPainter.h"
#include "platform/drawing/Drawing.h"

// The window's graph with its scale strips, off any window: the same
// surfaces at the same sizes, drawn by the same painter, for an image file.
class GraphPicture {
public:
    GraphPicture();

    GraphPainter& painter() { return m_painter; }
    // The scales of this graph's plot.
    const GraphAxes& axes() const { return m_axes; }

    // The strips laid out as the printed page lays them out, at `scale`
    // times the window's pixels, under `title` and over `legend`; the white
    // rows under the legend are cut off.
    QImage PageImage(const QString& title, const std::vector<LegendEntry>& legend,
                     double scale = 2);

private:
    Drawing m_swrStrip;
    Drawing m_plot;
    Drawing m_ohms;
    Drawing m_frequencies;
    GraphAxes m_axes;
    GraphPainter m_painter;
};
