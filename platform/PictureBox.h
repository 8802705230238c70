#pragma once

#include <QColor>
#include <QImage>
#include <QPolygonF>
#include <QString>
#include <QWidget>
#include <vector>

#include "platform/Twips.h"

class QPainter;

// A drawing surface that keeps what is drawn into it until the next Cls, the
// way the program's graph and scale strips expect: the drawing lives in a
// backing image at the screen's pixel density, and a repaint only copies that
// image, so covering and uncovering the window never loses or recomputes
// anything. Coordinates are in the box's scale unit (twips by default, 15 to a
// logical pixel) from its top-left corner.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    enum class ScaleMode { Twips, Pixels };
    static constexpr double kTwipsPerPixel = Twips::kPerPixel;

    explicit PictureBox(QWidget* parent = nullptr);

    void SetScaleMode(ScaleMode mode);

    // Outer size in the scale unit.
    double Width() const;
    double Height() const;

    void SetBackColor(const QColor& colour);
    void SetForeColor(const QColor& colour);
    // A fixed picture shown from the top-left corner over the back colour;
    // Cls restores it.
    void SetPicture(const QImage& picture);

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
    // Text with its top-left corner at the current position, in the box's
    // font and fore colour; the position then moves to the next line.
    void Print(const QString& text);

    QString ToolTipText() const { return m_toolTip; }
    void SetToolTipText(const QString& text);

    // What the box shows now (flushes pending drawing).
    const QImage& Image();
    // The logical pixel a coordinate in the scale unit falls on.
    int PixelOf(double units) const;
    // Draws what the box shows, as vectors, scaled into `target` (for printing).
    void Render(QPainter& painter, const QRectF& target);

signals:
    // Mouse position in the box's scale unit; button and shift as bit masks.
    void MouseMove(int button, int shift, float x, float y);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    // What has been drawn since the last Cls, in logical pixels, so a print
    // can replay it at the printer's resolution instead of scaling pixels.
    struct DrawCommand {
        QPolygonF points;  // a polyline, or one point for a dot
        QColor colour;
        int width = 1;
        QString text;  // non-empty: text with its baseline start at points[0]
        QFont font;
    };
    static void paintCommand(QPainter& p, const DrawCommand& c);
    void perform(DrawCommand command);

    double unitsPerPixel() const;
    QPointF toPixels(double x, double y) const;
    void flushPolyline();
    void drawSegment(QPointF from, QPointF to, const QColor& colour);
    void clearImage();
    // Makes the backing image match the box's size and pixel density, drawing
    // what it held again when it had to be made anew.
    void fitImage();

    ScaleMode m_scaleMode = ScaleMode::Twips;
    QColor m_backColor = Qt::white;
    QColor m_foreColor = Qt::black;
    QImage m_picture;
    QImage m_image;
    int m_drawWidth = 1;
    double m_currentX = 0;
    double m_currentY = 0;
    QString m_toolTip;
    // Consecutive segments in one colour and width are stroked as one
    // polyline: a sweep of 16384 points draws as three calls, not 49152.
    std::vector<DrawCommand> m_commands;
    QPolygonF m_polyline;
    QColor m_polylineColour;
    int m_polylineWidth = 1;
};
