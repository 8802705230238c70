#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygonF>
#include <QSize>
#include <QString>
#include <vector>

#include "platform/drawing/Twips.h"

class QPainter;

// A drawing surface that keeps what is drawn into it until the next Cls, the
// way the program's graph and scale strips expect: the drawing lives in a
// backing image at the surface's pixel density, and showing it only copies
// that image, so nothing is ever recomputed. Coordinates are in the scale
// unit (twips by default, 15 to a logical pixel) from the top-left corner.
//
// On the window a picture box is such a surface; off any window (an image
// file, a printed page) it stands on its own with a fixed size.
class Drawing {
public:
    enum class ScaleMode { Twips, Pixels };
    static constexpr double kTwipsPerPixel = Twips::kPerPixel;

    // A surface of `size` logical pixels at one device pixel each.
    explicit Drawing(QSize size = QSize(1, 1));
    virtual ~Drawing() = default;
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    void SetScaleMode(ScaleMode mode);

    // Outer size in the scale unit.
    double Width() const;
    double Height() const;

    void SetBackColor(const QColor& colour);
    const QColor& BackColor() const { return m_backColor; }
    void SetForeColor(const QColor& colour);
    // A fixed picture shown from the top-left corner over the back colour;
    // Cls restores it.
    void SetPicture(const QImage& picture);
    // The font Print uses, where the surface has no font of its own.
    void SetTextFont(const QFont& font) { m_font = font; }

    // Line width in pixels, whatever the scale unit.
    void SetDrawWidth(int pixels);

    double CurrentY() const { return m_currentY; }
    void SetCurrentX(double x) { m_currentX = x; }
    void SetCurrentY(double y) { m_currentY = y; }

    void Cls();
    // From (x1, y1) to (x2, y2); the end becomes the current position.
    void Line(double x1, double y1, double x2, double y2, const QColor& colour);
    // From the current position to (x, y); the end becomes the current position.
    void LineTo(double x, double y, const QColor& colour);
    // Text with its top-left corner at the current position, in the
    // surface's font and fore colour; the position then moves to the next line.
    void Print(const QString& text);

    // What the surface shows now (flushes pending drawing).
    const QImage& Image();
    // The logical pixel a coordinate in the scale unit falls on.
    int PixelOf(double units) const;
    // Scale units to a logical pixel: 15 for twips, 1 for pixels.
    double UnitsPerPixel() const;
    // Draws what the surface shows, as vectors, scaled into `target` (for
    // printing and image files): lines and text stay sharp at any resolution.
    void Render(QPainter& painter, const QRectF& target);

protected:
    // A widget that shows the surface answers with its own size, density and
    // font, and repaints when told that the drawing changed.
    virtual QSize LogicalSize() const { return m_size; }
    virtual qreal PixelRatio() const { return 1; }
    virtual QFont TextFont() const { return m_font; }
    virtual void Changed() {}
    // Makes the backing image match the size and pixel density, drawing what
    // it held again when it had to be made anew.
    void FitImage();
    // Strokes the polyline still being collected.
    void FlushPolyline();

private:
    // What has been drawn since the last Cls, in logical pixels, so that it
    // can be replayed at another resolution instead of scaling pixels.
    struct DrawCommand {
        QPolygonF points;  // a polyline, or one point for a dot
        QColor colour;
        int width = 1;
        QString text;  // non-empty: text with its baseline start at points[0]
        QFont font;
    };
    static void paintCommand(QPainter& p, const DrawCommand& c);
    void perform(DrawCommand command);

    QPointF toPixels(double x, double y) const;
    void drawSegment(QPointF from, QPointF to, const QColor& colour);
    void clearImage();

    QSize m_size;
    ScaleMode m_scaleMode = ScaleMode::Twips;
    QColor m_backColor = Qt::white;
    QColor m_foreColor = Qt::black;
    QFont m_font;
    QImage m_picture;
    QImage m_image;
    int m_drawWidth = 1;
    double m_currentX = 0;
    double m_currentY = 0;
    // Consecutive segments in one colour and width are stroked as one
    // polyline: a sweep of 16384 points draws as three calls, not 49152.
    std::vector<DrawCommand> m_commands;
    QPolygonF m_polyline;
    QColor m_polylineColour;
    int m_polylineWidth = 1;
};
