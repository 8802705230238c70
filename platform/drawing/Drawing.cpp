#include "platform/drawing/Drawing.h"

#include <QPainter>
#include <cmath>

namespace {

// Segments are cut to the surface (with a margin wider than any pen) before
// they reach the painter: a value far off scale must neither overflow the
// rasteriser's integer coordinates nor slow it down.
bool clipToRect(QPointF& a, QPointF& b, const QRectF& r) {
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y())) {
        return false;
    }
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    if (t1 < 1.0) b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    if (t0 > 0.0) a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    return true;
}

}  // namespace

Drawing::Drawing(QSize size) : m_size(size) { clearImage(); }

void Drawing::SetScaleMode(ScaleMode mode) { m_scaleMode = mode; }

double Drawing::UnitsPerPixel() const {
    return m_scaleMode == ScaleMode::Twips ? kTwipsPerPixel : 1.0;
}

double Drawing::Width() const { return LogicalSize().width() * UnitsPerPixel(); }
double Drawing::Height() const { return LogicalSize().height() * UnitsPerPixel(); }

void Drawing::SetBackColor(const QColor& colour) {
    m_backColor = colour;
    Cls();
}

void Drawing::SetForeColor(const QColor& colour) { m_foreColor = colour; }

void Drawing::SetPicture(const QImage& picture) {
    m_picture = picture;
    Cls();
}

void Drawing::SetDrawWidth(int pixels) { m_drawWidth = std::max(1, pixels); }

int Drawing::PixelOf(double units) const { return int(std::floor(units / UnitsPerPixel())); }

QPointF Drawing::toPixels(double x, double y) const {
    // Aim at pixel centres so a one-pixel line lands on exactly one row.
    const double s = UnitsPerPixel();
    const double px = x / s, py = y / s;
    return {std::isfinite(px) ? std::floor(px) + 0.5 : px,
            std::isfinite(py) ? std::floor(py) + 0.5 : py};
}

void Drawing::clearImage() {
    const qreal dpr = PixelRatio();
    const QSize pixels = (QSizeF(LogicalSize()) * dpr).toSize().expandedTo(QSize(1, 1));
    if (m_image.size() != pixels || m_image.devicePixelRatio() != dpr) {
        m_image = QImage(pixels, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(dpr);
    }
    m_image.fill(m_backColor);
    if (!m_picture.isNull()) {
        QPainter p(&m_image);
        p.drawImage(QPointF(0, 0), m_picture);
    }
}

void Drawing::FitImage() {
    const qreal dpr = PixelRatio();
    if (m_image.size() == (QSizeF(LogicalSize()) * dpr).toSize().expandedTo(QSize(1, 1)) &&
        m_image.devicePixelRatio() == dpr) {
        return;
    }
    // The surface was laid out (or moved to a screen of another density)
    // after drawing into it: the kept drawing is replayed, never lost.
    clearImage();
    QPainter p(&m_image);
    for (const DrawCommand& c : m_commands) paintCommand(p, c);
}

void Drawing::Cls() {
    m_polyline.clear();
    m_commands.clear();
    clearImage();
    m_currentX = 0;
    m_currentY = 0;
    Changed();
}

void Drawing::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
    m_currentX = x2;
    m_currentY = y2;
    drawSegment(toPixels(x1, y1), toPixels(x2, y2), colour);
}

void Drawing::LineTo(double x, double y, const QColor& colour) {
    Line(m_currentX, m_currentY, x, y, colour);
}

void Drawing::drawSegment(QPointF from, QPointF to, const QColor& colour) {
    const double margin = 2.0 * m_drawWidth + 2.0;
    const QSize size = LogicalSize();
    if (!clipToRect(
            from, to,
            QRectF(-margin, -margin, size.width() + 2 * margin, size.height() + 2 * margin))) {
        FlushPolyline();
        return;
    }
    const bool continues = !m_polyline.isEmpty() && m_polyline.last() == from &&
                           m_polylineColour == colour && m_polylineWidth == m_drawWidth;
    if (!continues) {
        FlushPolyline();
        m_polyline << from;
        m_polylineColour = colour;
        m_polylineWidth = m_drawWidth;
    }
    m_polyline << to;
}

void Drawing::FlushPolyline() {
    if (m_polyline.size() >= 2) {
        // A zero-length segment still marks its pixel, as a lone point should.
        if (m_polyline.size() == 2 && m_polyline[0] == m_polyline[1]) m_polyline.removeLast();
        perform({m_polyline, m_polylineColour, m_polylineWidth, {}, {}});
    }
    m_polyline.clear();
}

void Drawing::paintCommand(QPainter& p, const DrawCommand& c) {
    if (!c.text.isEmpty()) {
        p.setFont(c.font);
        p.setPen(c.colour);
        p.drawText(c.points.first(), c.text);
    } else {
        p.setPen(QPen(c.colour, c.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        if (c.points.size() == 1) {
            p.drawPoint(c.points.first());
        } else {
            p.drawPolyline(c.points);
        }
    }
}

void Drawing::perform(DrawCommand command) {
    QPainter p(&m_image);
    paintCommand(p, command);
    m_commands.push_back(std::move(command));
    Changed();
}

void Drawing::Render(QPainter& painter, const QRectF& target) {
    FlushPolyline();
    const QSize size = LogicalSize();
    painter.save();
    painter.setClipRect(target);
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    painter.fillRect(QRect(QPoint(0, 0), size), m_backColor);
    if (!m_picture.isNull())
        painter.drawImage(QRectF(QPointF(0, 0), m_picture.deviceIndependentSize()), m_picture);
    for (const DrawCommand& c : m_commands) paintCommand(painter, c);
    painter.restore();
}

void Drawing::Print(const QString& text) {
    FlushPolyline();
    const QFont font = TextFont();
    const QFontMetrics fm(font);
    const double s = UnitsPerPixel();
    const QPointF baseline(std::floor(m_currentX / s), std::floor(m_currentY / s) + fm.ascent());
    if (!text.isEmpty()) perform({QPolygonF{baseline}, m_foreColor, 1, text, font});
    m_currentX = 0;
    m_currentY += fm.height() * s;
}

const QImage& Drawing::Image() {
    FlushPolyline();
    FitImage();
    return m_image;
}
