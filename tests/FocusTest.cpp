#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "FormFixture.h"
#include "platform/widgets/ComboBox.h"

namespace {

// The window shown and active, as a user meets it.
struct ShownForm {
    LoadedForm form;
    ShownForm() {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&*form));
    }
    QWidget* Focus() const { return QApplication::focusWidget(); }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focus(), key, modifiers);
    }
};

}  // namespace

TEST(Focus, StartScanTakesTheFocusFirst) {
    ShownForm shown;
    EXPECT_EQ(shown.Focus(), shown.form.ui.btnCollectDisplayData);
}

// Tab passes the option group through its selected button only; Shift+Tab
// comes back the same way.
TEST(Focus, TabEntersTheOptionGroupOnTheSelectedOption) {
    ShownForm shown;
    frmMain& f = *shown.form;
    const Controls& ui = shown.form.ui;
    for (std::size_t selected = 0; selected < ui.OptCursor.size(); ++selected) {
        ui.OptCursor[selected]->setChecked(true);
        const QList<QWidget*> expected = {ui.MnComboFScale, ui.MnComboDisplay,
                                          ui.cmboCommPort,  ui.OptCursor[selected],
                                          ui.btnExit,       ui.btnCollectDisplayData};
        ui.btnCollectDisplayData->setFocus();
        QList<QWidget*> forward, backward;
        for (int i = 0; i < expected.size(); ++i) {
            shown.Press(Qt::Key_Tab);
            forward << shown.Focus();
        }
        for (int i = 0; i < expected.size(); ++i) {
            shown.Press(Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(shown.Focus());
        }
        EXPECT_EQ(forward, expected) << selected;
        EXPECT_EQ(backward, QList<QWidget*>({ui.btnCollectDisplayData}) + expected.mid(0, 5))
            << selected;
    }
}

TEST(Focus, ArrowKeysMoveWithinTheOptionGroupAndChoose) {
    ShownForm shown;
    frmMain& f = *shown.form;
    const Controls& ui = shown.form.ui;
    ui.OptCursor[0]->setFocus();
    const struct {
        Qt::Key key;
        std::size_t lands;
    } steps[] = {{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}, {Qt::Key_Up, 0}};
    for (const auto& step : steps) {
        shown.Press(step.key);
        EXPECT_EQ(shown.Focus(), ui.OptCursor[step.lands]) << step.lands;
        EXPECT_TRUE(ui.OptCursor[step.lands]->isChecked()) << step.lands;
        EXPECT_EQ(f.graphCursor, std::int16_t(step.lands));
    }
}
