#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

class PictureBox;
class QPainter;

// One entry of the printed legend: a trace's colour and what it shows.
struct LegendEntry {
    QColor colour;
    QString text;
};

// A printed page of the graph: a title line, the graph with its scale strips
// laid out as on screen, scaled to the page keeping their shape and centred
// on it, and under them a legend of the traces. The strips are replayed as
// vectors, so lines and labels stay sharp at any printer resolution.
void PaintGraphPage(QPainter& painter, const QRectF& page, const QString& title,
                    const std::vector<LegendEntry>& legend, const std::vector<PictureBox*>& strips);

// Where the strips' common rectangle (in window pixels, `source`) lands on a
// page area: as large as fits, centred, aspect ratio kept.
QRectF FitKeepingAspect(const QRectF& source, const QRectF& area);
