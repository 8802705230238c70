#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "FormFixture.h"
#include "PtyAnalyzer.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/ComboBox.h"

namespace {

const QByteArray kStoredCom1 = "[Configuration]\r\nCommPort=1\r\n";

// The port list shown with the focus in it, counting the choices it raises.
struct PortList {
    LoadedForm form{kStoredCom1};
    ComboBox* list = form.ui.cmboCommPort;
    QLineEdit* edit = list->lineEdit();
    int clicks = 0;
    PortList() {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&*form));
        QObject::connect(list, &ComboBox::Click, [this] { ++clicks; });
        list->setFocus();
        edit->selectAll();
    }
};

}  // namespace

// Whatever is typed, completed or confirmed in the list's text field, the
// chosen port stays as it was, and leaving the list shows it again.
TEST(PortList, TypedTextChoosesNothing) {
    const struct {
        const char* text;
        Qt::Key key;  // Qt::Key_unknown: the focus leaves instead
    } cases[] = {
        {"C", Qt::Key_Tab},  // completion
        {"Com12", Qt::Key_Return},
        {"Com7", Qt::Key_unknown},
        {"com3", Qt::Key_Enter},  // lower case
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        PortList p;
        QTest::keyClicks(p.edit, QString::fromLatin1(c.text));
        if (c.key != Qt::Key_unknown) QTest::keyClick(p.edit, c.key);
        p.form.ui.btnExit->setFocus();
        EXPECT_EQ(p.clicks, 0);
        EXPECT_EQ(p.list->ListIndex(), 0);
        EXPECT_EQ(p.form.ui.cntlComm->CommPort(), 1);
        EXPECT_EQ(p.form.IniContent(), kStoredCom1);
        EXPECT_EQ(p.edit->text(), QStringLiteral("Com1"));
    }
}

TEST(PortList, EachRowChoiceRunsTheHandlerOnce) {
    const struct {
        const char* name;
        std::function<void(PortList&)> choose;
        int row;
    } cases[] = {
        {"arrow down", [](PortList& p) { QTest::keyClick(p.edit, Qt::Key_Down); }, 1},
        {"arrow down after typing",
         [](PortList& p) {
             QTest::keyClicks(p.edit, QStringLiteral("Com9"));
             QTest::keyClick(p.edit, Qt::Key_Down);
         },
         1},
        {"opened list",
         [](PortList& p) {
             p.list->showPopup();
             QAbstractItemView* rows = p.list->view();
             QTest::keyClick(rows, Qt::Key_Down);
             QTest::keyClick(rows, Qt::Key_Down);
             QTest::keyClick(rows, Qt::Key_Return);
         },
         2},
    };
    for (const auto& c : cases) {
        PortList p;
        c.choose(p);
        EXPECT_EQ(p.clicks, 1) << c.name;
        EXPECT_EQ(p.list->ListIndex(), c.row) << c.name;
        EXPECT_EQ(p.form.ui.cntlComm->CommPort(), c.row + 1) << c.name;
        EXPECT_EQ(p.form.IniContent(),
                  "[Configuration]\r\nCommPort=" + QByteArray::number(c.row + 1) + "\r\n")
            << c.name;
    }
}

// Typing a port's name while a scan waits leaves the scan's port open.
TEST(PortList, TypingDuringAScanKeepsThePortOpen) {
    PtyPair pty;
    PortList p;
    PtyAnalyzer analyzer{pty};  // never answers
    MessageBoxCatcher messages;
    p.form.ui.cntlComm->SetDeviceOverride(pty.slavePath());
    bool typed = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (p.form.ui.LblPoints->text() != QStringLiteral("Waiting")) return;
        if (!typed) {
            p.list->setFocus();
            QTest::keyClicks(p.edit, QStringLiteral("Com5"));
            QTest::keyClick(p.edit, Qt::Key_Return);
            p.form.ui.btnExit->setFocus();
            typed = true;
            EXPECT_TRUE(p.form.ui.cntlComm->PortOpen());
        }
        p.form.ui.btnStopCollectData->click();
        timer.stop();
    });
    timer.start(2);
    p.form.ui.btnCollectDisplayData->click();
    EXPECT_TRUE(typed);
    EXPECT_EQ(messages.texts, QStringList());
    EXPECT_EQ(p.form.ui.LblPoints->text(), QStringLiteral("Aborted"));
    EXPECT_EQ(p.form.ui.cntlComm->CommPort(), 1);
}
