#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <functional>

#include "FormFixture.h"
#include "about/About.h"
#include "about/AboutKestrel.h"

namespace {

// Runs what a return to the event loop would: queued events, then the
// deletions that "OK" asked for.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

qsizetype openBoxes(const char* caption) {
    const QWidgetList all = QApplication::topLevelWidgets();
    return std::count_if(all.begin(), all.end(), [caption](QWidget* w) {
        auto* box = qobject_cast<AboutBox*>(w);
        return box && box->isVisible() && !box->isUnloaded() && box->windowTitle() == caption;
    });
}

QPoint centredOn(const QWidget* box) {
    const QRect desk = box->screen()->geometry();
    const QSize outer = box->frameGeometry().size();
    return {desk.x() + (desk.width() - outer.width()) / 2,
            desk.y() + (desk.height() - outer.height()) / 2};
}

const struct BoxKind {
    const char* caption;
    int widthTwips, heightTwips;
    std::function<AboutBox*()> show;
} kinds[] = {
    {"About Vantrel", 4035, 2610, [] { return About::ShowTheBox(); }},
    {"About Kestrel", 4020, 1830, [] { return AboutKestrel::ShowTheBox(); }},
};

}  // namespace

// Each box has its fixed size, the banner and texts that fit. Asked for again,
// it comes forward where it was moved. OK, Return, Enter or Escape closes it
// and not the other box; the next one is centred. A scan pumps events itself
// and deletions wait for the outer loop, so the closed box can still exist
// when the menu is chosen again.
TEST(AboutBoxes, OneOfEachWithItsBannerThatStaysWhereMovedUntilClosed) {
    const QImage banner(QStringLiteral(":/resources/banner.gif"));
    for (const BoxKind& kind : kinds) {
        SCOPED_TRACE(kind.caption);
        const QPointer<AboutBox> other = kinds[&kind == kinds ? 1 : 0].show();
        QPointer<AboutBox> box = kind.show();
        EXPECT_EQ(box->windowTitle(), QString::fromLatin1(kind.caption));
        const QSize client(kind.widthTwips / 15, kind.heightTwips / 15);
        EXPECT_EQ(box->minimumSize(), client);
        EXPECT_EQ(box->maximumSize(), client);
        EXPECT_FALSE(box->windowFlags() &
                     (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        const QImage shot = box->grab().toImage();
        for (const QPoint p : {QPoint(0, 0), QPoint(20, 30), QPoint(267, 81)})
            EXPECT_EQ(shot.pixelColor(p), banner.pixelColor(p)) << p.x() << "," << p.y();
        // Labels have fixed sizes, so a font that is too wide cuts text off.
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            const QFontMetrics metrics(label->font());
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            EXPECT_LE(metrics.height(), label->height()) << label->text().toStdString();
        }
        for (const int key : {0, int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
            SCOPED_TRACE(key);
            box->move(box->pos() + QPoint(37, -21));
            const QPoint moved = box->pos();
            settle();
            EXPECT_EQ(kind.show(), box);
            settle();
            EXPECT_EQ(openBoxes(kind.caption), 1);
            EXPECT_EQ(box->pos(), moved);
            // A key goes to the button, which has the focus, and reaches the
            // box because the button does not want it.
            auto* ok = box->findChild<QPushButton*>(QStringLiteral("OnOK"));
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            key ? void(QApplication::sendEvent(ok, &press)) : ok->click();
            const QPointer<AboutBox> closed = box;
            box = kind.show();
            EXPECT_NE(box, closed);
            settle();
            EXPECT_TRUE(closed.isNull());
            EXPECT_EQ(openBoxes(kind.caption), 1);
            EXPECT_EQ(box->pos(), centredOn(box));
            EXPECT_FALSE(other.isNull());
        }
    }
    // The box's credit line is the one the window shows.
    LoadedForm form;
    const AboutBox* about = About::ShowTheBox();
    const auto* version = about->findChild<QLabel*>(QStringLiteral("lblVersion"));
    const auto* credit = about->findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_TRUE(version && credit);
    EXPECT_EQ(version->text(), QStringLiteral("v2.2.4"));
    EXPECT_EQ(credit->text(), form.ui.LblCredit->text());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<AboutBox*>(w)) w->close();
    }
    settle();
}
