#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <string>

#include "FormFixture.h"
#include "bands/BandTable.h"
#include "platform/widgets/ComboBox.h"

// The lists only choose rows. Row by row with the arrow keys, each band of
// the table sets its range; text typed, pasted or dropped changes nothing.
TEST(BandLists, EveryBandInItsRowSetsItsRangeAndTextChangesNothing) {
    LoadedForm form;
    form->show();
    ComboBox* bands = form.ui.MnComboFScale;
    EXPECT_EQ(form.ui.MnComboDisplay->currentText(), QStringLiteral("ALL"));
    ASSERT_EQ(bands->count(), int(BandTable.size()));
    bands->setFocus();
    for (int row = 0; row < int(BandTable.size()); ++row) {
        if (row > 0) QTest::keyClick(bands, Qt::Key_Down);
        const Band& band = BandTable[std::size_t(row)];
        EXPECT_EQ(bands->ListIndex(), row);
        EXPECT_EQ(bands->itemText(row), QString::fromLatin1(band.name)) << row;
        EXPECT_EQ(form->Scan_Start.Number(), std::stod(band.start)) << row;
        EXPECT_EQ(form->Scan_End.Number(), std::stod(band.end)) << row;
        EXPECT_LT(form->Scan_Start.Number(), form->Scan_End.Number()) << row;
    }
    QTest::keyClick(bands, Qt::Key_Up);
    EXPECT_EQ(form->Scan_Start.Number(), std::stod(BandTable[BandTable.size() - 2].start));

    // Typed, pasted or dropped text changes neither the text nor the row.
    QGuiApplication::clipboard()->setText(QStringLiteral("Com9"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Com9"), QClipboard::Selection);
    for (ComboBox* list : {form.ui.MnComboFScale, form.ui.MnComboDisplay}) {
        list->setFocus();
        QLineEdit* edit = list->lineEdit();
        const QString text = list->currentText();
        const int row = list->ListIndex();
        QTest::keyClicks(list, QStringLiteral("abc123"));
        for (const int key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return})
            QTest::keyClick(list, Qt::Key(key));
        QTest::keyClicks(edit, QStringLiteral("xyz"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::mouseClick(edit, Qt::MiddleButton);
        QMimeData dropped;
        dropped.setText(QStringLiteral("dropped"));
        const QPoint at = edit->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &enter);
        QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &drop);
        EXPECT_EQ(list->currentText(), text);
        EXPECT_EQ(edit->text(), text);
        EXPECT_EQ(list->ListIndex(), row);
        EXPECT_EQ(list->count(), list == form.ui.MnComboFScale ? int(BandTable.size()) : 4);
    }
}
