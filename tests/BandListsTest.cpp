#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "FormFixture.h"
#include "platform/ComboBox.h"

TEST(BandLists, SixteenBandsInTheirFixedOrderWithTheirCodes) {
    // Row, list text, start and end (units of 100 Hz), the band code's character.
    const struct {
        const char* name;
        const char* start;
        const char* end;
        char code;
    } table[16] = {
        {" 1-10MHz", "010000", "100000", '0'}, {"10-20MHz", "100000", "200000", '1'},
        {"20-30MHz", "200000", "300000", '2'}, {"Custom", "100000", "110000", '3'},
        {" 10 Mtrs", "280000", "297000", '4'}, {" 12 Mtrs", "248900", "249900", '5'},
        {" 15 Mtrs", "210000", "214500", '6'}, {" 17 Mtrs", "180680", "181680", '7'},
        {" 20 Mtrs", "140000", "143500", '8'}, {" 30 Mtrs", "101000", "101500", '9'},
        {" 40 Mtrs", "070000", "073000", ':'}, {" 60 Mtrs", "053305", "054035", ';'},
        {" 80 Mtrs", "035000", "040000", '<'}, {"160 Mtrs", "018000", "020000", '='},
        {"6 Mtrs", "500000", "540000", '>'},   {"VHF", "300000", "600000", '?'},
    };
    LoadedForm form;
    ASSERT_EQ(form->MnComboFScale->count(), 16);
    for (int row = 0; row < 16; ++row) {
        const auto& band = table[row];
        EXPECT_EQ(form->MnComboFScale->itemText(row), QString::fromLatin1(band.name)) << row;
        EXPECT_EQ(form->BandName(row), QString::fromLatin1(band.name)) << row;
        EXPECT_EQ(form->BandStart(row), QString::fromLatin1(band.start)) << row;
        EXPECT_EQ(form->BandEnd(row), QString::fromLatin1(band.end)) << row;
        EXPECT_EQ(48 + row, int(band.code)) << row;
        form->MnComboFScale->SetListIndex(row);
        EXPECT_EQ(form->Scan_Start.Number(), QString::fromLatin1(band.start).toDouble()) << row;
        EXPECT_EQ(form->Scan_End.Number(), QString::fromLatin1(band.end).toDouble()) << row;
    }
}

TEST(BandLists, StartUpSelectsTheFirstRowOfEachList) {
    LoadedForm form;
    EXPECT_EQ(form->MnComboDisplay->currentText(), QStringLiteral("ALL"));
    EXPECT_EQ(form->MnComboFScale->currentText(), QStringLiteral(" 1-10MHz"));
    const QStringList display = {"ALL", "SWR", "Resistance", "Reactance"};
    for (int i = 0; i < display.size(); ++i)
        EXPECT_EQ(form->MnComboDisplay->itemText(i), display[i]);
    EXPECT_EQ(form->Scan_Start.Number(), 10000);
    EXPECT_EQ(form->Scan_End.Number(), 100000);
}

TEST(BandLists, TypedKeysChangeNeitherTextNorRow) {
    LoadedForm form;
    form->show();
    for (ComboBox* list : {form->MnComboFScale, form->MnComboDisplay}) {
        list->setFocus();
        const QString text = list->currentText();
        const int row = list->ListIndex();
        QTest::keyClicks(list, QStringLiteral("abc123"));
        QTest::keyClick(list, Qt::Key_Backspace);
        QTest::keyClick(list, Qt::Key_Delete);
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClicks(list->lineEdit(), QStringLiteral("xyz"));
        QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
        EXPECT_EQ(list->currentText(), text);
        EXPECT_EQ(list->lineEdit()->text(), text);
        EXPECT_EQ(list->ListIndex(), row);
        EXPECT_EQ(list->count(), list == form->MnComboFScale ? 16 : 4);
    }
}

TEST(BandLists, ArrowKeysStillChooseRows) {
    LoadedForm form;
    form->show();
    form->MnComboFScale->setFocus();
    QTest::keyClick(form->MnComboFScale, Qt::Key_Down);
    EXPECT_EQ(form->MnComboFScale->ListIndex(), 1);
    EXPECT_EQ(form->Scan_Start.Number(), 100000);  // "10-20MHz" chosen by the key
    QTest::keyClick(form->MnComboFScale, Qt::Key_Up);
    EXPECT_EQ(form->MnComboFScale->ListIndex(), 0);
    EXPECT_EQ(form->Scan_Start.Number(), 10000);
}

TEST(BandLists, PastedOrDroppedTextIsRefused) {
    LoadedForm form;
    form->show();
    QGuiApplication::clipboard()->setText(QStringLiteral("Com9"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Com9"), QClipboard::Selection);
    for (ComboBox* list : {form->MnComboFScale, form->MnComboDisplay}) {
        list->setFocus();
        QLineEdit* edit = list->lineEdit();
        const QString text = list->currentText();
        const int row = list->ListIndex();
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
        EXPECT_EQ(edit->text(), text);
        EXPECT_EQ(list->ListIndex(), row);
    }
}
