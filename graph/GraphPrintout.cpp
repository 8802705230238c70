#include "graph/GraphPrintout.h"

#include <QPainter>

#include "platform/PictureBox.h"

QRectF FitKeepingAspect(const QRectF& source, const QRectF& area) {
    const double scale = std::min(area.width() / source.width(), area.height() / source.height());
    const QSizeF size = source.size() * scale;
    return QRectF(area.left() + (area.width() - size.width()) / 2, area.top(), size.width(),
                  size.height());
}

void PaintGraphPage(QPainter& painter, const QRectF& page, const QString& title,
                    const std::vector<PictureBox*>& strips) {
    QRectF bounds;
    for (const PictureBox* box : strips) bounds |= QRectF(box->geometry());

    const double titleHeight = page.height() * 0.06;
    QFont font = strips.front()->font();
    font.setPixelSize(std::max(1, int(titleHeight * 0.6)));
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(page.left(), page.top(), page.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.restore();

    const QRectF area(page.left(), page.top() + titleHeight, page.width(),
                      page.height() - titleHeight);
    const QRectF placed = FitKeepingAspect(bounds, area);
    const double scale = placed.width() / bounds.width();
    for (PictureBox* box : strips) {
        const QRectF g(box->geometry());
        box->Render(painter, QRectF(placed.left() + (g.left() - bounds.left()) * scale,
                                    placed.top() + (g.top() - bounds.top()) * scale,
                                    g.width() * scale, g.height() * scale));
    }
}
