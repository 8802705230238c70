#pragma once

#include <QRectF>
#include <QString>
#include <vector>

class PictureBox;
class QPainter;

// A printed page of the graph: a title line, then the graph with its scale
// strips, laid out as on screen and scaled to the page keeping their shape.
// The strips are replayed as vectors, so lines and labels stay sharp at any
// printer resolution.
void PaintGraphPage(QPainter& painter, const QRectF& page, const QString& title,
                    const std::vector<PictureBox*>& strips);

// Where the strips' common rectangle (in window pixels, `source`) lands on a
// page area: as large as fits, centred, aspect ratio kept.
QRectF FitKeepingAspect(const QRectF& source, const QRectF& area);
