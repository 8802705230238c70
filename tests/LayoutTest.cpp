#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "FormFixture.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

namespace {

const QColor kLightYellow(249, 239, 107);

// True when each channel lies between those of the two colours, as the
// anti-aliased edge of a caption drawn in `ink` on `paper` does.
bool blendOf(const QColor& c, const QColor& paper, const QColor& ink) {
    const auto between = [](int v, int a, int b) {
        return v >= std::min(a, b) && v <= std::max(a, b);
    };
    return between(c.red(), paper.red(), ink.red()) &&
           between(c.green(), paper.green(), ink.green()) &&
           between(c.blue(), paper.blue(), ink.blue());
}

// Pixels of `area` (in `w`'s coordinates) on the window's grabbed image that
// are not `paper` and that `allowed` does not excuse.
int strayPixels(const QImage& shot, QWidget* window, QWidget* w, const QRect& area,
                const std::function<bool(QPoint, QColor)>& allowed) {
    int stray = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = shot.pixelColor(w->mapTo(window, QPoint(x, y)));
            stray += c != kLightYellow && !allowed(QPoint(x, y), c);
        }
    }
    return stray;
}

}  // namespace

// On screen the option buttons and the frames' interiors are light yellow,
// every control lies inside its frame and shows all of its text, the strips
// line up with the graph, and "Start Scan" covers "Stop Request".
TEST(Layout, ControlsFitTheirFramesOnLightYellow) {
    LoadedForm form;
    frmMain& f = *form;
    const Controls& ui = form.ui;
    f.show();
    const QImage shot = f.grab().toImage();
    for (QRadioButton* option : ui.OptCursor) {
        QStyleOptionButton opt;
        opt.initFrom(option);
        const QRect indicator =
            option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, option);
        const QColor ink = option->palette().color(QPalette::WindowText);
        EXPECT_EQ(strayPixels(shot, &f, option, option->rect(),
                              [&](QPoint p, QColor c) {
                                  return indicator.contains(p) || blendOf(c, kLightYellow, ink);
                              }),
                  0)
            << option->text().toStdString();
    }
    for (QGroupBox* frame : {ui.FrameGraph, ui.FrameDP, ui.FrameComm}) {
        QList<QRect> controls;
        for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            controls << child->geometry();
        EXPECT_EQ(strayPixels(shot, &f, frame, frame->contentsRect(),
                              [&](QPoint p, QColor) {
                                  return std::any_of(controls.begin(), controls.end(),
                                                     [p](const QRect& r) { return r.contains(p); });
                              }),
                  0)
            << frame->title().toStdString();
    }
    EXPECT_EQ(f.centralWidget()->size(), QSize(700, 524));
    EXPECT_EQ(f.size(), QSize(700, 524 + f.menuBar()->sizeHint().height()));
    for (QWidget* w : f.centralWidget()->findChildren<QWidget*>()) {
        const QString name = w->metaObject()->className();
        if (w->isWindow() || !w->isVisibleTo(&f) || name == u"QLineEdit") continue;
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
            << name.toStdString() << " sticks out of its frame";
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        // The option buttons' texts start after their indicator.
        const int indicator = qobject_cast<QRadioButton*>(w) ? 20 : 0;
        EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(text) + indicator, w->width())
            << text.toStdString() << " is cut off";
    }
    // The scale strips line up with the graph they label.
    const QRect graph = ui.grphSWRDisplay->geometry();
    for (PictureBox* side : {ui.picSWR, ui.picRes}) {
        EXPECT_EQ(side->y(), graph.y());
        EXPECT_EQ(side->height(), graph.height());
    }
    EXPECT_EQ(ui.picFreq->x(), graph.x());
    EXPECT_GE(ui.picFreq->width(), graph.width());
    // The option buttons stand one under the other, in the quantities' order.
    for (int i = 1; i < ui.OptCursor.size(); ++i) {
        EXPECT_EQ(ui.OptCursor[i]->x(), ui.OptCursor[0]->x());
        EXPECT_GE(ui.OptCursor[i]->y(), ui.OptCursor[i - 1]->geometry().bottom());
    }
    // Start and Stop share one rectangle; Start, on top, is the one that can be pressed.
    const QPoint centre = ui.btnCollectDisplayData->geometry().center();
    EXPECT_EQ(f.centralWidget()->childAt(centre), ui.btnCollectDisplayData);
    EXPECT_FALSE(ui.btnStopCollectData->isEnabled());
    EXPECT_TRUE(ui.btnCollectDisplayData->isEnabled());
    EXPECT_EQ(f.focusWidget(), ui.btnCollectDisplayData);
}

// What is drawn stays through repaints and hiding; Cls brings back the
// stored picture (the scale strips' labels) over the back colour.
TEST(PictureBoxSurface, KeepsItsDrawingAndClsRestoresThePicture) {
    PictureBox box;
    box.resize(100, 50);
    box.Cls();
    box.Line(0, 15 * 10, 1500, 15 * 10, Qt::red);
    box.SetCurrentX(15 * 20);
    box.SetCurrentY(15 * 20);
    box.Print(QStringLiteral("8"));
    const QImage drawn = box.Image().copy();
    EXPECT_EQ(drawn.pixelColor(50, 10), QColor(Qt::red));
    box.show();
    box.repaint();
    box.hide();
    box.show();
    EXPECT_EQ(box.Image(), drawn);
    EXPECT_EQ(box.grab().toImage().convertToFormat(drawn.format()), drawn);

    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    box.SetBackColor(Qt::yellow);
    box.SetPicture(picture);
    box.Line(0, 0, 600, 600, Qt::red);
    box.Cls();
    EXPECT_EQ(box.Image().pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(box.Image().pixelColor(30, 30), QColor(Qt::yellow));
    EXPECT_EQ(box.Image().pixelColor(50, 10), QColor(Qt::yellow));
}
