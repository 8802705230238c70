#include "graph/GraphPicture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "graph/GraphLayout.h"
#include "platform/drawing/Fonts.h"
#include "platform/drawing/Twips.h"

namespace {

QSize pixelsOf(const QRect& twips) {
    return {Twips::ToPixels(twips.width()), Twips::ToPixels(twips.height())};
}

QRectF placeOf(const QRect& twips) {
    return QRectF(Twips::ToPixels(twips.left()), Twips::ToPixels(twips.top()),
                  Twips::ToPixels(twips.width()), Twips::ToPixels(twips.height()));
}

// A strip as the window sets it up: its back colour, its fixed picture, and
// the window's font for what it prints.
void setUp(Drawing& strip, const QColor& back, const char* picture = nullptr) {
    strip.SetTextFont(Fonts::DialogFont(true));
    strip.SetBackColor(back);
    if (picture) strip.SetPicture(QImage(QString::fromLatin1(picture)));
}

}  // namespace

GraphPicture::GraphPicture()
    : m_swrStrip(pixelsOf(GraphLayout::kSwrStrip)),
      m_plot(pixelsOf(GraphLayout::kPlot)),
      m_ohms(pixelsOf(GraphLayout::kOhmStrip)),
      m_frequencies(pixelsOf(GraphLayout::kFrequencyStrip)),
      m_axes(GraphAxes::ForPlotHeight(m_plot.Height())),
      m_painter(m_plot, m_ohms, m_frequencies, Fonts::DialogFont(true)) {
    m_swrStrip.SetScaleMode(Drawing::ScaleMode::Pixels);
    setUp(m_swrStrip, GraphLayout::kLightYellow, GraphLayout::kSwrStripPicture);
    setUp(m_plot, GraphLayout::kPlotColour);
    setUp(m_ohms, GraphLayout::kLightYellow, GraphLayout::kOhmStripPicture);
    setUp(m_frequencies, GraphLayout::kLightYellow);
}

QImage GraphPicture::PageImage(const QString& title, const std::vector<LegendEntry>& legend,
                               double scale) {
    const std::vector<PageStrip> strips{{&m_swrStrip, placeOf(GraphLayout::kSwrStrip)},
                                        {&m_plot, placeOf(GraphLayout::kPlot)},
                                        {&m_ohms, placeOf(GraphLayout::kOhmStrip)},
                                        {&m_frequencies, placeOf(GraphLayout::kFrequencyStrip)}};
    QRectF bounds;
    for (const PageStrip& strip : strips) bounds |= strip.place;
    // The page is drawn taller than the title, strips and legend need, and
    // the white rows left under the legend are cut off afterwards.
    const QSize page(int(std::ceil(bounds.width() * scale)),
                     int(std::ceil(bounds.height() * scale * 1.25)));
    QImage image(page, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintGraphPage(painter, QRectF(QPointF(0, 0), QSizeF(page)), title, legend, strips,
                       Fonts::DialogFont(true));
    }
    const auto blankRow = [&image](int y) {
        const QRgb white = qRgb(255, 255, 255);
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        return std::all_of(row, row + image.width(), [white](QRgb p) { return p == white; });
    };
    int height = image.height();
    while (height > 1 && blankRow(height - 1)) --height;
    return image.copy(0, 0, image.width(), height);
}
