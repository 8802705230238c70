#include "graph/GraphPage.h"

#include <QPainter>

#include "core/Quantities.h"
#include "platform/drawing/Drawing.h"

QRectF FitKeepingAspect(const QRectF& source, const QRectF& area) {
    const double scale = std::min(area.width() / source.width(), area.height() / source.height());
    const QSizeF size = source.size() * scale;
    return QRectF(area.left() + (area.width() - size.width()) / 2,
                  area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

namespace {

// Legend entries side by side from `origin` (the left end of their middle
// line): a short line in the trace's colour, then its text. An entry that
// would run past `right` (a reference's or a compared file's name) starts a
// row of its own under them.
void paintLegend(QPainter& painter, QPointF origin, double lineLength, double right,
                 const std::vector<LegendEntry>& legend) {
    const QFontMetricsF metrics(painter.font());
    QPointF at = origin;
    for (const LegendEntry& entry : legend) {
        const double width =
            lineLength + metrics.averageCharWidth() + metrics.horizontalAdvance(entry.text);
        if (at.x() > origin.x() && at.x() + width > right)
            at = QPointF(origin.x(), at.y() + 1.5 * metrics.lineSpacing());
        painter.setPen(QPen(entry.colour, std::max(1.0, metrics.height() / 8)));
        painter.drawLine(at, at + QPointF(lineLength, 0));
        at.rx() += lineLength + metrics.averageCharWidth();
        painter.setPen(Qt::black);
        painter.drawText(at + QPointF(0, (metrics.ascent() - metrics.descent()) / 2), entry.text);
        at.rx() += metrics.horizontalAdvance(entry.text) + 3 * lineLength / 2;
    }
}

}  // namespace

void PaintGraphPage(QPainter& painter, const QRectF& page, const QString& title,
                    const std::vector<LegendEntry>& legend, const std::vector<PageStrip>& strips,
                    QFont font) {
    QRectF bounds;
    for (const PageStrip& strip : strips) bounds |= strip.place;

    // The title above the graph and the legend below it take bands of the
    // same height, so the graph itself sits in the middle of the page.
    const double band = page.height() * 0.08;
    const QRectF area(page.left(), page.top() + band, page.width(), page.height() - 2 * band);
    const QRectF placed = FitKeepingAspect(bounds, area);

    font.setPixelSize(std::max(1, int(band * 0.3)));
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(placed.left(), placed.top() - band, page.right() - placed.left(), band),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    paintLegend(painter, QPointF(placed.left(), placed.bottom() + band / 2), band * 0.6,
                page.right(), legend);
    painter.restore();

    const double scale = placed.width() / bounds.width();
    for (const PageStrip& strip : strips) {
        const QRectF& g = strip.place;
        strip.drawing->Render(painter, QRectF(placed.left() + (g.left() - bounds.left()) * scale,
                                              placed.top() + (g.top() - bounds.top()) * scale,
                                              g.width() * scale, g.height() * scale));
    }
}

std::vector<LegendEntry> QuantityLegend() {
    std::vector<LegendEntry> legend;
    for (const QuantityInfo& q : kQuantities) {
        legend.push_back({QColor::fromRgb(q.colour),
                          QStringLiteral("%1 (%2)").arg(QString::fromLatin1(q.caption),
                                                        QString::fromLatin1(q.scale))});
    }
    return legend;
}

QString GraphTitle(const QString& firstLabel, const QString& lastLabel, int points,
                   const QDateTime& when, const QString& band) {
    const QString counted = points == 0   ? QStringLiteral("no points")
                            : points == 1 ? QStringLiteral("1 point")
                                          : QStringLiteral("%1 points").arg(points);
    return QStringLiteral("%1 - %2 MHz, %3, %4      band selected: %5")
        .arg(firstLabel, lastLabel, counted, when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             band);
}
