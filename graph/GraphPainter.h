#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/Quantities.h"

class Drawing;
struct Sweep;

// The graph's scales: where the zero line and the plot's left edge lie and
// the full scale of each quantity.
struct GraphAxes {
    double originX = 0;                // the plot starts 350 twips to the right of it
    double originY = 0;                // y of every trace's zero line
    double startYVal = 0;              // the SWR labels count up from this + 1
    std::array<double, 4> scaleMax{};  // per quantity; the fourth is unused

    // The window's scales for a plot of this height: left edge at 0, the
    // zero line 80 twips above the bottom, full scales from the quantities.
    static GraphAxes ForPlotHeight(double height);
};

// One trace: a quantity drawn in a colour.
struct TraceStyle {
    Quantity quantity;
    QColor colour;
};

// Draws the graph (grid, SWR, ohm and frequency scales, traces) onto its
// three surfaces: the plot, the ohm strip to its right and the frequency
// strip under it. The window, its printed page and vantrel-scan's images all
// draw through it, so they show the same picture. Text is measured in
// `measureFont` (the window's), whatever font the strips print in.
class GraphPainter {
public:
    // Value of a quantity at point i.
    using PointValue = std::function<double(int point, Quantity quantity)>;

    GraphPainter(Drawing& plot, Drawing& ohms, Drawing& frequencies, QFont measureFont);

    // Clears the plot and draws grid and scales for start..end (units of
    // 100 Hz); no traces.
    void DrawGraphFrame(const GraphAxes& axes, double scanStart, double scanEnd);
    // Clears the ohm strip; horizontal grid lines with their SWR and ohm
    // labels, then the vertical lines.
    void DrawGrid(const GraphAxes& axes);
    // Prints the next ohm label centred on y in the ohm strip.
    void PrintResLabel(const GraphAxes& axes, std::int16_t y);
    // Clears the frequency strip and prints the labels of start..end.
    void DrawFreqScale(const GraphAxes& axes, double scanStart, double scanEnd);

    // The traces of points 0..last (none for last < 0) spread evenly from
    // the plot's left edge to its right edge, in the order given, two pixels
    // wide, on top of what the plot shows. A single point is a dot.
    void PlotTraces(const GraphAxes& axes, int last, const PointValue& value,
                    const std::vector<TraceStyle>& traces);
    // The same for a sweep, each point at its own frequency where it has
    // one, over a frame labelled start..end (units of 100 Hz); an answer
    // over another range than its own (a reference, a comparison) has its
    // points placed at their frequencies too.
    void PlotSweep(const GraphAxes& axes, const Sweep& sweep, double scanStart, double scanEnd,
                   const std::vector<TraceStyle>& traces);

    // The first and last frequency label as the last frame printed them.
    const QString& FirstLabel() const { return m_firstLabel; }
    const QString& LastLabel() const { return m_lastLabel; }

    // Text size in twips, measured in the measuring font.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

private:
    void strokeTraces(const GraphAxes& axes, const std::vector<double>& xs, const PointValue& value,
                      const std::vector<TraceStyle>& traces);

    Drawing& m_plot;
    Drawing& m_ohms;
    Drawing& m_frequencies;
    QFont m_measureFont;
    std::int16_t iResLabel = 0;  // the next ohm label while the grid is drawn
    QString m_firstLabel;
    QString m_lastLabel;
};
