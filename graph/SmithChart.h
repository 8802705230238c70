#pragma once

#include <QColor>
#include <QImage>
#include <QString>

class Drawing;
struct Sweep;

// A sweep's impedance on a Smith chart against 50 ohms: the grid of
// constant resistance and reactance in the graph's grid grey, the 2:1 SWR
// circle, and the locus of the points in the SWR trace's red, drawn with
// the graph's surface, pens and font (and, as the graph, not anti-aliased).
namespace SmithChart {

// An image at least this size leaves room for every label.
inline constexpr int kSide = 800;
// The normalised resistances and reactances whose circles make the grid.
inline constexpr double kGridValues[] = {0.2, 0.5, 1, 2, 5};
inline const QColor kSwr2Colour{0, 0, 255};
inline const QColor kMarkColour{Qt::black};

// Draws onto `chart`, a square surface, in pixels: the grid with its
// labels, the 2:1 circle, the locus with its first and last frequency
// labelled at its ends and the lowest SWR ringed, `title` at the top and a
// legend at the bottom left.
void Draw(Drawing& chart, const Sweep& sweep, const QString& title);

// The chart of `side` x `side` pixels on white.
QImage Image(const Sweep& sweep, const QString& title, int side = kSide);

}  // namespace SmithChart
