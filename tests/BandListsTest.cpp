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

TEST(BandLists, EveryBandOfTheTableInItsRowSetsItsRange) {
    LoadedForm form;
    EXPECT_EQ(form.ui.MnComboDisplay->currentText(), QStringLiteral("ALL"));
    EXPECT_EQ(form.ui.MnComboFScale->ListIndex(), 0);
    ASSERT_EQ(form.ui.MnComboFScale->count(), int(BandTable.size()));
    for (int row = 0; row < int(BandTable.size()); ++row) {
        const Band& band = BandTable[std::size_t(row)];
        EXPECT_EQ(form.ui.MnComboFScale->itemText(row), QString::fromLatin1(band.name)) << row;
        form.ui.MnComboFScale->SetListIndex(row);
        EXPECT_EQ(form->Scan_Start.Number(), std::stod(band.start)) << row;
        EXPECT_EQ(form->Scan_End.Number(), std::stod(band.end)) << row;
        EXPECT_LT(form->Scan_Start.Number(), form->Scan_End.Number()) << row;
    }
}

TEST(BandLists, ArrowKeysStillChooseRows) {
    LoadedForm form;
    form->show();
    form.ui.MnComboFScale->setFocus();
    QTest::keyClick(form.ui.MnComboFScale, Qt::Key_Down);
    EXPECT_EQ(form.ui.MnComboFScale->ListIndex(), 1);
    EXPECT_EQ(form->Scan_Start.Number(), 100000);  // "10-20MHz" chosen by the key
    QTest::keyClick(form.ui.MnComboFScale, Qt::Key_Up);
    EXPECT_EQ(form.ui.MnComboFScale->ListIndex(), 0);
    EXPECT_EQ(form->Scan_Start.Number(), 10000);
}

// The lists only choose rows: typed, pasted or dropped text changes nothing.
TEST(BandLists, TypedPastedOrDroppedTextChangesNeitherTextNorRow) {
    LoadedForm form;
    form->show();
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
