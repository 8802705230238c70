#include <gtest/gtest.h>

#include "FormFixture.h"
#include "graph/GraphGeometry.h"
#include "graph/GraphPainter.h"
#include "platform/drawing/Fonts.h"
#include "platform/drawing/PngFile.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

namespace {

// The traces must come out in their quantities' colours, which the option
// buttons show too.
const QColor kRed = QColor::fromRgb(InfoOf(Quantity::Swr).colour);
const QColor kGreen = QColor::fromRgb(InfoOf(Quantity::Resistance).colour);
const QColor kBlue = QColor::fromRgb(InfoOf(Quantity::Reactance).colour);
const QColor kGrey(150, 150, 150);

// True when the pixel at twips (x, y) of the box, or one within a pixel of it
// up or down (traces are two pixels wide), has the colour.
bool colourNear(Drawing& box, double x, double y, const QColor& colour) {
    const QImage& image = box.Image();
    const qreal dpr = image.devicePixelRatio();
    const int px = int(box.PixelOf(x) * dpr);
    for (int dy = -1; dy <= 1; ++dy) {
        const int py = int((box.PixelOf(y) + dy) * dpr);
        if (py >= 0 && py < image.height() && px >= 0 && px < image.width() &&
            image.pixelColor(px, py) == colour) {
            return true;
        }
    }
    return false;
}

int traceInk(Drawing& box) {
    return CountColour(box, kRed) + CountColour(box, kGreen) + CountColour(box, kBlue);
}

// y of a value of trace k on the window's graph (zero line 4615).
double traceY(LoadedForm& form, int k, double value) {
    return form->OriginY -
           value * form.ui.grphSWRDisplay->Height() / kQuantities[std::size_t(k)].fullScale;
}

double pointX(int i, int last) {
    return GraphGeometry::pointX(0, GraphGeometry::pointPitch(8895, last), i);
}

// A spot on the segment next to point i, inside the plot.
double besidePoint(int i, int last) { return pointX(i, last) + (i == 0 ? 20 : -20); }

}  // namespace

// At start-up the grid lies where the geometry puts it, with labels in the
// strips, and the sample pattern's traces at their computed pixels. Each
// choice then redraws from the stored points: the display list the traces it
// names, the band list an empty frame under the band's labels, after which
// the old points come back under them. One point is a dot, none no trace.
TEST(GraphRender, GridTracesAndListChoicesRedrawFromTheStoredPoints) {
    LoadedForm form;
    PictureBox& graph = *form.ui.grphSWRDisplay;
    // Sample a spot on each line away from labels and traces.
    for (const auto& row : GraphGeometry::gridRows(4695, 4615, 0, 10))
        EXPECT_TRUE(colourNear(graph, 6000 + 427, row.y, kGrey)) << row.y;
    for (std::int32_t x : GraphGeometry::gridColumns(8895, 0))
        EXPECT_EQ(graph.Image().pixelColor(graph.PixelOf(x), graph.PixelOf(200)), kGrey) << x;
    EXPECT_EQ(graph.Image().pixelColor(graph.PixelOf(6000 + 427), graph.PixelOf(3400)),
              QColor(Qt::white));
    EXPECT_GT(CountColour(*form.ui.picRes, QColor(Qt::black)), 0);
    EXPECT_GT(CountColour(*form.ui.picFreq, QColor(Qt::black)), 0);
    // Blue falls from 6 to 1 ohm just above the zero line and is drawn last;
    // green, flat at 5 ohms, shows where blue has fallen below it.
    for (int i = 0; i <= 10; ++i) {
        const double x = besidePoint(i, 10);
        EXPECT_TRUE(colourNear(graph, x, traceY(form, 0, i / 2.0 + 1), kRed)) << i;
        EXPECT_TRUE(colourNear(graph, x, traceY(form, 2, (10 - i) / 2.0 + 1), kBlue)) << i;
    }
    EXPECT_TRUE(colourNear(graph, besidePoint(10, 10), traceY(form, 1, 5), kGreen));
    EXPECT_NEAR(traceY(form, 1, 5), 4615 - 39.125, 1e-9);

    form.ui.MnComboDisplay->SetListIndex(2);  // "Resistance"
    EXPECT_EQ(CountColour(graph, kRed), 0);
    EXPECT_EQ(CountColour(graph, kBlue), 0);
    for (int i = 0; i <= 10; ++i)
        EXPECT_TRUE(colourNear(graph, besidePoint(i, 10), traceY(form, 1, 5), kGreen));
    form.ui.MnComboDisplay->SetListIndex(0);  // "ALL"
    for (const QColor& trace : {kRed, kGreen, kBlue}) EXPECT_GT(CountColour(graph, trace), 0);

    form.ui.MnComboFScale->SetListIndex(11);  // " 60 Mtrs"
    EXPECT_EQ(traceInk(graph), 0);
    EXPECT_GT(CountColour(graph, kGrey), 0);
    const QImage labelsBefore = form.ui.picFreq->Image().copy();
    form.ui.MnComboDisplay->SetListIndex(1);  // "SWR"
    EXPECT_TRUE(colourNear(graph, besidePoint(5, 10), traceY(form, 0, 3.5), kRed));
    EXPECT_EQ(form.ui.picFreq->Image(), labelsBefore);

    form->NumPoints = 0;
    form.ui.MnComboDisplay->SetListIndex(1);
    EXPECT_TRUE(colourNear(graph, 350, traceY(form, 0, 1), kRed));
    EXPECT_LT(CountColour(graph, kRed), 20);
    form->NumPoints = -1;
    form.ui.MnComboDisplay->SetListIndex(0);
    EXPECT_EQ(traceInk(graph), 0);
}

// The graph's own painter on surfaces of the window's sizes: values far off
// scale are cut by the plot, and the trace comes back where they fall back.
TEST(GraphRender, ValuesFarOffScaleAreCutByTheBox) {
    Drawing plot(QSize(593, 313)), ohms(QSize(49, 313)), frequencies(QSize(633, 25));
    GraphPainter painter(plot, ohms, frequencies, Fonts::DialogFont(true));
    const GraphAxes axes = GraphAxes::ForPlotHeight(plot.Height());
    EXPECT_EQ(axes.originY, 4615);
    painter.DrawGraphFrame(axes, 10000, 100000);
    // The sample pattern's SWR, with points 5 and 6 far off either way.
    const auto swr = [](int i, Quantity) { return i == 5 ? 1e300 : i == 6 ? -1e300 : i / 2.0 + 1; };
    painter.PlotTraces(axes, 10, swr, {{Quantity::Swr, kRed}});
    const auto y = [&axes](double value) { return axes.originY - value * 4695 / 10; };
    EXPECT_TRUE(colourNear(plot, pointX(2, 10), y(2), kRed));
    EXPECT_TRUE(colourNear(plot, besidePoint(9, 10), y(5.5), kRed));
    // SWR above about 9.8 runs off the top: the rise from point 4 leaves the
    // plot almost straight up from it.
    bool redAtTop = false;
    for (int dx = -2; dx <= 2; ++dx)
        redAtTop |= plot.Image().pixelColor(plot.PixelOf(pointX(4, 10)) + dx, 0) == kRed;
    EXPECT_TRUE(redAtTop);
}

// What the tool's images are written with reads back pixel for pixel,
// whatever the width (rows of any length) and wherever colours change.
TEST(PngFile, ReadsBackAsTheSameImage) {
    for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(681, 402)}) {
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb((x * 37) % 256, (y * 11) % 256, (x ^ y) % 256));
        }
        QImage back;
        ASSERT_TRUE(back.loadFromData(PngFile::Encode(image), "PNG")) << size.width();
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image) << size.width();
    }
}
