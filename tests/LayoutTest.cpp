#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "FormFixture.h"
#include "platform/ComboBox.h"
#include "platform/PictureBox.h"

TEST(Layout, ControlsFitTheClientAreaAndTheirTexts) {
    LoadedForm form;
    frmMain& f = *form;
    f.show();
    EXPECT_EQ(f.centralWidget()->size(), QSize(700, 524));
    EXPECT_EQ(f.size(), QSize(700, 524 + f.menuBar()->sizeHint().height()));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
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
    const QRect graph = f.grphSWRDisplay->geometry();
    for (PictureBox* side : {f.picSWR, f.picRes}) {
        EXPECT_EQ(side->y(), graph.y());
        EXPECT_EQ(side->height(), graph.height());
    }
    EXPECT_EQ(f.picFreq->x(), graph.x());
    EXPECT_GE(f.picFreq->width(), graph.width());
    // The option buttons stand one under the other, in the quantities' order.
    for (std::size_t i = 1; i < f.OptCursor.size(); ++i) {
        EXPECT_EQ(f.OptCursor[i]->x(), f.OptCursor[0]->x());
        EXPECT_GE(f.OptCursor[i]->y(), f.OptCursor[i - 1]->geometry().bottom());
    }
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
