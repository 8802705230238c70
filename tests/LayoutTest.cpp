#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "FormFixture.h"
#include "platform/ComboBox.h"
#include "platform/PictureBox.h"

namespace {

// Twips to the pixel rectangle a control must occupy.
QRect pixels(int left, int top, int width, int height) {
    const auto px = [](int twips) { return (twips + 7) / 15; };
    return QRect(px(left), px(top), px(width), px(height));
}

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

TEST(Layout, OptionButtonsAndFrameInteriorsAreLightYellowOnScreen) {
    LoadedForm form;
    form->show();
    const QImage shot = form->grab().toImage();
    for (QRadioButton* option : form->OptCursor) {
        QStyleOptionButton opt;
        opt.initFrom(option);
        const QRect indicator =
            option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, option);
        const QColor ink = option->palette().color(QPalette::WindowText);
        EXPECT_EQ(strayPixels(shot, &*form, option, option->rect(),
                              [&](QPoint p, QColor c) {
                                  return indicator.contains(p) || blendOf(c, kLightYellow, ink);
                              }),
                  0)
            << option->text().toStdString();
    }
    for (QGroupBox* frame : {form->FrameGraph, form->FrameDP, form->FrameComm}) {
        QList<QRect> controls;
        for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            controls << child->geometry();
        EXPECT_EQ(strayPixels(shot, &*form, frame, frame->contentsRect(),
                              [&](QPoint p, QColor) {
                                  return std::any_of(controls.begin(), controls.end(),
                                                     [p](const QRect& r) { return r.contains(p); });
                              }),
                  0)
            << frame->title().toStdString();
    }
}

TEST(Layout, ControlsSitWhereTheyWereDrawnUp) {
    LoadedForm form;
    frmMain& f = *form;
    const struct {
        QWidget* control;
        QRect place;
        const char* text;
        const char* tip;
    } controls[] = {
        {f.picSWR, pixels(120, 1320, 495, 4695), nullptr, nullptr},
        {f.grphSWRDisplay, pixels(600, 1320, 8895, 4695), nullptr, nullptr},
        {f.picRes, pixels(9600, 1320, 735, 4695), nullptr, nullptr},
        {f.picFreq, pixels(600, 6000, 9495, 375), nullptr, nullptr},
        {f.FrameGraph, pixels(360, 6360, 3855, 1095), "Graph Controls", nullptr},
        {f.FrameDP, pixels(4440, 6360, 1815, 615), "Data Points", nullptr},
        {f.btnCollectDisplayData, pixels(4440, 7080, 1815, 375), "Start Scan",
         "Start Data Collection"},
        {f.btnStopCollectData, pixels(4440, 7080, 1815, 375), "Stop Request", nullptr},
        {f.FrameComm, pixels(6600, 6480, 1935, 975), "Comm Settings", nullptr},
        {f.btnExit, pixels(8880, 6720, 1215, 615), "EXIT", nullptr},
        {f.LblVersion, pixels(120, 7560, 1215, 255), nullptr, nullptr},
        {f.LblCredit, pixels(7680, 7560, 2655, 255), nullptr, nullptr},
        {f.OptCursor[0], pixels(120, 240, 855, 255), "SWR", "Display SWR under cursor"},
        {f.OptCursor[1], pixels(120, 480, 1335, 255), "Resistance",
         "Display Resistance under cursor"},
        {f.OptCursor[2], pixels(120, 720, 1335, 255), "Reactance",
         "Display Reactance under cursor"},
        {f.LblDisplay, pixels(1320, 240, 735, 255), "Display", nullptr},
        {f.MnComboDisplay, pixels(2160, 240, 1455, 315), nullptr, "Graph<s> to display"},
        {f.LblBand, pixels(1560, 600, 495, 255), "Band", nullptr},
        {f.MnComboFScale, pixels(2160, 600, 1455, 315), nullptr, "Band Select"},
        {f.LblPoints, pixels(120, 240, 1575, 255), nullptr, "Data Points Received"},
        {f.cmboCommPort, pixels(360, 360, 1215, 315), nullptr, nullptr},
    };
    const QRect client(QPoint(0, 0), f.centralWidget()->size());
    EXPECT_EQ(client.size(), QSize(700, 524));
    for (const auto& c : controls) {
        const QString name = c.control->metaObject()->className();
        EXPECT_EQ(c.control->geometry(), c.place) << name.toStdString();
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(c.control)) text = b->text();
        if (auto* g = qobject_cast<QGroupBox*>(c.control)) text = g->title();
        if (auto* l = qobject_cast<QLabel*>(c.control)) text = l->text();
        if (c.text) {
            EXPECT_EQ(text, QString::fromLatin1(c.text));
        }
        if (c.tip) {
            EXPECT_EQ(c.control->toolTip(), QString::fromLatin1(c.tip));
        }
        // Every control lies inside the client area.
        const QRect inClient(c.control->mapTo(f.centralWidget(), QPoint(0, 0)), c.control->size());
        EXPECT_TRUE(client.contains(inClient)) << text.toStdString();
    }
    EXPECT_EQ(f.windowTitle(), QStringLiteral("ZM-340 Antenna Surveyor Control Panel"));
    EXPECT_EQ(f.size(), QSize(700, 524 + f.menuBar()->sizeHint().height()));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
}

TEST(Layout, ScanButtonsShareOneRectangleWithStartOnTop) {
    LoadedForm form;
    form->show();
    const QPoint centre = form->btnCollectDisplayData->geometry().center();
    EXPECT_EQ(form->centralWidget()->childAt(centre), form->btnCollectDisplayData);
    EXPECT_FALSE(form->btnStopCollectData->isEnabled());
    EXPECT_TRUE(form->btnCollectDisplayData->isEnabled());
    EXPECT_EQ(form->focusWidget(), form->btnCollectDisplayData);
}

TEST(PictureBoxSurface, KeepsItsDrawingThroughRepaintsAndLayout) {
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
    box.Cls();
    EXPECT_EQ(box.Image().pixelColor(50, 10), QColor(Qt::white));
}

TEST(PictureBoxSurface, ClsRestoresTheStoredPicture) {
    PictureBox box;
    box.resize(40, 40);
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    box.SetBackColor(Qt::yellow);
    box.SetPicture(picture);
    box.Line(0, 0, 600, 600, Qt::red);
    box.Cls();
    EXPECT_EQ(box.Image().pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(box.Image().pixelColor(30, 30), QColor(Qt::yellow));
}
