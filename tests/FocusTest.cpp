#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "FormFixture.h"
#include "platform/widgets/ComboBox.h"

namespace {

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

}  // namespace

// Tab passes the option group through its selected button only, Shift+Tab
// comes back the same way, and within the group the arrow keys move and
// choose. That "Start Scan" has the focus first the layout test sees.
TEST(Focus, TheOptionGroupIsOneTabStopWhoseArrowKeysChoose) {
    LoadedForm form;
    ASSERT_TRUE(form.ShowActive());
    const Controls& ui = form.ui;
    for (int selected = 0; selected < ui.OptCursor.size(); ++selected) {
        ui.OptCursor[selected]->setChecked(true);
        const QList<QWidget*> expected = {ui.MnComboFScale, ui.MnComboDisplay,
                                          ui.cmboCommPort,  ui.OptCursor[selected],
                                          ui.btnExit,       ui.btnCollectDisplayData};
        ui.btnCollectDisplayData->setFocus();
        QList<QWidget*> forward, backward;
        for (int i = 0; i < expected.size(); ++i) {
            press(Qt::Key_Tab);
            forward << QApplication::focusWidget();
        }
        for (int i = 0; i < expected.size(); ++i) {
            press(Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(QApplication::focusWidget());
        }
        EXPECT_EQ(forward, expected) << selected;
        EXPECT_EQ(backward, QList<QWidget*>({ui.btnCollectDisplayData}) + expected.mid(0, 5))
            << selected;
    }

    ui.OptCursor[0]->setChecked(true);
    ui.OptCursor[0]->setFocus();
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}, {Qt::Key_Up, 0}};
    for (const auto& [key, lands] : steps) {
        press(key);
        EXPECT_EQ(QApplication::focusWidget(), ui.OptCursor[lands]) << lands;
        EXPECT_TRUE(ui.OptCursor[lands]->isChecked()) << lands;
        EXPECT_EQ(form->graphCursor, std::int16_t(lands));
    }
}
