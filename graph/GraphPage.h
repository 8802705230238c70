#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

class Drawing;
class QPainter;

// One entry of the legend: a trace's colour and what it shows.
struct LegendEntry {
    QColor colour;
    QString text;
};

// One of the graph's strips and where it lies, in the window's pixels.
struct PageStrip {
    Drawing* drawing;
    QRectF place;
};

// A page of the graph: a title line, the graph with its scale strips laid
// out as on screen, scaled to the page keeping their shape and centred on
// it, and under them a legend of the traces. The strips are replayed as
// vectors, so lines and labels stay sharp at any resolution. Title and
// legend are written in `font`, scaled to the page.
void PaintGraphPage(QPainter& painter, const QRectF& page, const QString& title,
                    const std::vector<LegendEntry>& legend, const std::vector<PageStrip>& strips,
                    QFont font);

// Where the strips' common rectangle (in window pixels, `source`) lands on a
// page area: as large as fits, centred, aspect ratio kept.
QRectF FitKeepingAspect(const QRectF& source, const QRectF& area);

// The three quantities, each in its trace's colour, with the scale it is read on.
std::vector<LegendEntry> QuantityLegend();

// What was measured and when: "14.000 - 14.350 MHz, 500 points,
// 2026-12-07 00:51      band selected: 20 Mtrs", from the first and last
// frequency label, the points traced and the band list's row.
QString GraphTitle(const QString& firstLabel, const QString& lastLabel, int points,
                   const QDateTime& when, const QString& band);
