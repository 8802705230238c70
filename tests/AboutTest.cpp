#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <functional>
#include <string>

#include "Version.h"
#include "about/About.h"
#include "about/AboutKestrel.h"

namespace {

// Runs what a return to the event loop would: queued events, then the
// deletions that "OK" asked for.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <class Box>
int openBoxes() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<Box*>(w);
        if (box && box->isVisible() && !box->isUnloaded()) ++count;
    }
    return count;
}

void pressOk(QWidget* box) { box->findChild<QPushButton*>(QStringLiteral("OnOK"))->click(); }

QPoint centredOn(const QWidget* box) {
    const QRect desk = box->screen()->geometry();
    const QSize outer = box->frameGeometry().size();
    return {desk.x() + (desk.width() - outer.width()) / 2,
            desk.y() + (desk.height() - outer.height()) / 2};
}

struct BoxKind {
    const char* name;
    std::function<AboutBox*()> show;
    std::function<int()> count;
};

const BoxKind kinds[] = {
    {"About", [] { return static_cast<AboutBox*>(About::ShowTheBox()); }, openBoxes<About>},
    {"AboutKestrel", [] { return static_cast<AboutBox*>(AboutKestrel::ShowTheBox()); },
     openBoxes<AboutKestrel>},
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

TEST_F(AboutBoxes, WindowsAreFixedToolWindowsWithTitleAndCloseOnly) {
    const struct {
        AboutBox* box;
        const char* caption;
        int widthTwips, heightTwips;
    } cases[] = {
        {About::ShowTheBox(), "About Vantrel", 4035, 2610},
        {AboutKestrel::ShowTheBox(), "About Kestrel", 4020, 1830},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(c.box->windowTitle().toStdString(), c.caption);
        const QSize client(c.widthTwips / 15, c.heightTwips / 15);
        EXPECT_EQ(c.box->size(), client);
        EXPECT_EQ(c.box->minimumSize(), client);
        EXPECT_EQ(c.box->maximumSize(), client);
        const Qt::WindowFlags flags = c.box->windowFlags();
        EXPECT_EQ(c.box->windowType(), Qt::Tool);  // keeps it out of the taskbar
        EXPECT_TRUE(flags & Qt::WindowTitleHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(c.box->parentWidget(), nullptr);
        EXPECT_FALSE(c.box->isModal());
        EXPECT_FALSE(c.box->testAttribute(Qt::WA_QuitOnClose));
    }
}

TEST_F(AboutBoxes, VersionLabelShowsTheBuildVersionWithoutABlank) {
    const QString expected = QStringLiteral("v") + QString::number(Version::Major) + "." +
                             QString::number(Version::Minor) + "." +
                             QString::number(Version::Revision);
    const auto* label = About::ShowTheBox()->findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), expected.toStdString());
    EXPECT_EQ(label->text().toStdString(), "v2.2.4");
}

TEST_F(AboutBoxes, EveryLabelTextFitsItsLabel) {
    // Labels have fixed sizes, so text wider than its label is cut off
    // without any warning.
    for (const BoxKind& kind : kinds) {
        const auto labels = kind.show()->findChildren<QLabel*>();
        EXPECT_EQ(labels.size(), std::string(kind.name) == "About" ? 5 : 1) << kind.name;
        for (const QLabel* label : labels) {
            const QFontMetrics metrics(label->font());
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            EXPECT_LE(metrics.height(), label->height()) << label->text().toStdString();
        }
    }
    EXPECT_TRUE(About::ShowTheBox()->findChild<QLabel*>("Label1")->font().bold());
}

TEST_F(AboutBoxes, BannerIsDrawnFromTheTopLeftCorner) {
    const QImage banner(QStringLiteral(":/resources/banner.gif"));
    ASSERT_EQ(banner.size(), QSize(268, 82));
    for (const BoxKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const QImage shot = kind.show()->grab().toImage();
        for (const QPoint p : {QPoint(0, 0), QPoint(20, 30), QPoint(267, 81)}) {
            EXPECT_EQ(shot.pixelColor(p), banner.pixelColor(p)) << p.x() << "," << p.y();
        }
    }
}

TEST_F(AboutBoxes, ChoosingTheMenuAgainShowsTheOneBoxWhereTheUserLeftIt) {
    for (const BoxKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        AboutBox* first = kind.show();
        EXPECT_EQ(first->pos(), centredOn(first));
        first->move(first->pos() + QPoint(37, -21));
        const QPoint moved = first->pos();
        settle();
        EXPECT_EQ(kind.show(), first);
        settle();
        EXPECT_EQ(kind.count(), 1);
        EXPECT_EQ(first->pos(), moved);
    }
}

TEST_F(AboutBoxes, OkUnloadsTheBoxAndTheNextOneIsCentredAgain) {
    for (const BoxKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        QPointer<AboutBox> first = kind.show();
        first->move(first->pos() + QPoint(-50, 40));
        pressOk(first);
        settle();
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(kind.count(), 0);
        AboutBox* second = kind.show();
        EXPECT_EQ(second->pos(), centredOn(second));
        EXPECT_EQ(kind.count(), 1);
    }
}

TEST_F(AboutBoxes, ReopeningBeforeTheClosedBoxIsDeletedGivesAFreshBox) {
    // A scan pumps events itself, and deletions wait for the outer loop, so
    // the closed box can still exist when the menu is chosen again.
    for (const BoxKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        QPointer<AboutBox> closed = kind.show();
        pressOk(closed);
        QPointer<AboutBox> fresh = kind.show();
        EXPECT_NE(fresh, closed);
        settle();
        EXPECT_TRUE(closed.isNull());
        ASSERT_FALSE(fresh.isNull());
        EXPECT_TRUE(fresh->isVisible());
        EXPECT_EQ(kind.count(), 1);
    }
}

TEST_F(AboutBoxes, BothBoxesOpenAtOnceAndEachOkClosesOnlyItsOwn) {
    QPointer<AboutBox> about = About::ShowTheBox();
    QPointer<AboutBox> club = AboutKestrel::ShowTheBox();
    EXPECT_EQ(openBoxes<About>() + openBoxes<AboutKestrel>(), 2);
    pressOk(club);
    settle();
    EXPECT_TRUE(club.isNull());
    ASSERT_FALSE(about.isNull());
    EXPECT_TRUE(about->isVisible());
    pressOk(about);
    settle();
    EXPECT_TRUE(about.isNull());
}

TEST_F(AboutBoxes, EnterAndEscapePressOk) {
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        for (const BoxKind& kind : kinds) {
            SCOPED_TRACE(kind.name);
            QPointer<AboutBox> box = kind.show();
            // The key goes to the button, which has the focus, and reaches
            // the box because the button does not want it.
            QWidget* ok = box->findChild<QPushButton*>(QStringLiteral("OnOK"));
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(ok, &press);
            settle();
            EXPECT_TRUE(box.isNull()) << key;
        }
    }
}

}  // namespace
