#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "ScanRig.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/ComboBox.h"

namespace {

// The port list of a window that started without a settings file, shown with
// the focus in it, counting the choices it raises.
struct PortList {
    LoadedForm form;
    ComboBox* list = form.ui.cmboCommPort;
    QLineEdit* edit = list->lineEdit();
    int clicks = 0;
    PortList() {
        EXPECT_TRUE(form.ShowActive());
        QObject::connect(list, &ComboBox::Click, [this] { ++clicks; });
        list->setFocus();
        edit->selectAll();
    }
    void expectChosen(int row) {
        EXPECT_EQ(clicks, row > 0 ? 1 : 0);
        EXPECT_EQ(list->ListIndex(), row);
        EXPECT_EQ(form.ui.cntlComm->CommPort(), row + 1);
        EXPECT_EQ(form.IniContent(),
                  "[Configuration]\r\nCommPort=" + QByteArray::number(row + 1) + "\r\n");
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
        p.expectChosen(0);
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
        SCOPED_TRACE(c.name);
        PortList p;
        c.choose(p);
        p.expectChosen(c.row);
    }
}

// Typing a port's name while a scan waits leaves the scan's port open.
TEST(PortList, TypingDuringAScanKeepsThePortOpen) {
    ScanRig rig;  // the analyzer never answers
    ASSERT_TRUE(rig.form.ShowActive());
    ComboBox* list = rig.form.ui.cmboCommPort;
    bool typed = false;
    rig.When(QStringLiteral("Waiting"), [&] {
        list->setFocus();
        QTest::keyClicks(list->lineEdit(), QStringLiteral("Com5"));
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        rig.form.ui.btnExit->setFocus();
        typed = true;
        EXPECT_TRUE(rig.form.ui.cntlComm->PortOpen());
        rig.form.ui.btnStopCollectData->click();
    });
    rig.Scan();
    EXPECT_TRUE(typed);
    EXPECT_EQ(rig.messages.texts, QStringList());
    EXPECT_EQ(rig.form.ui.LblPoints->text(), QStringLiteral("Aborted"));
    EXPECT_EQ(rig.form.ui.cntlComm->CommPort(), 1);
}
