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

void pressOk(QWidget* box) { box->findChild<QPushButton*>(QStringLiteral("OnOK"))->click(); }

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

class AboutBoxes : public ::testing::Test {
protected:
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<AboutBox*>(w)) w->close();
        }
        settle();
    }
};

TEST_F(AboutBoxes, FixedSizeWithTheBannerTextThatFitsAndTheWindowsCredit) {
    const QImage banner(QStringLiteral(":/resources/banner.gif"));
    for (const BoxKind& kind : kinds) {
        SCOPED_TRACE(kind.caption);
        AboutBox* box = kind.show();
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
    }
    // The box's credit line is the one the window shows.
    LoadedForm form;
    const AboutBox* about = About::ShowTheBox();
    const auto* version = about->findChild<QLabel*>(QStringLiteral("lblVersion"));
    const auto* credit = about->findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_TRUE(version && credit);
    EXPECT_EQ(version->text(), QStringLiteral("v2.2.4"));
    EXPECT_EQ(credit->text(), form.ui.LblCredit->text());
}

TEST_F(AboutBoxes, OneBoxThatStaysWhereMovedUntilOkAndIsCentredAfter) {
    for (const BoxKind& kind : kinds) {
        SCOPED_TRACE(kind.caption);
        QPointer<AboutBox> first = kind.show();
        first->move(first->pos() + QPoint(37, -21));
        const QPoint moved = first->pos();
        settle();
        EXPECT_EQ(kind.show(), first);
        settle();
        EXPECT_EQ(openBoxes(kind.caption), 1);
        EXPECT_EQ(first->pos(), moved);

        // A scan pumps events itself, and deletions wait for the outer loop,
        // so the closed box can still exist when the menu is chosen again.
        pressOk(first);
        AboutBox* second = kind.show();
        EXPECT_NE(second, first);
        settle();
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(openBoxes(kind.caption), 1);
        EXPECT_EQ(second->pos(), centredOn(second));
    }
}

TEST_F(AboutBoxes, BothBoxesOpenAtOnceAndEachClosesOnlyItself) {
    QPointer<AboutBox> club = AboutKestrel::ShowTheBox();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QPointer<AboutBox> about = About::ShowTheBox();
        EXPECT_EQ(openBoxes("About Vantrel") + openBoxes("About Kestrel"), 2);
        // The key goes to the button, which has the focus, and reaches the
        // box because the button does not want it.
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(about->findChild<QPushButton*>(QStringLiteral("OnOK")), &press);
        settle();
        EXPECT_TRUE(about.isNull()) << "key " << key;
    }
    pressOk(club);
    settle();
    EXPECT_TRUE(club.isNull());
}

}  // namespace
