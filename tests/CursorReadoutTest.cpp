#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

#include "ScanRig.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

namespace {

QString tipAt(LoadedForm& form, float x, std::int16_t button = 0) {
    form->grphSWRDisplay_MouseMove(button, 0, x, 100);
    return form.ui.grphSWRDisplay->ToolTipText();
}

// The analyzer's answer of points 0..last from 140000 to 143500 (14.000 to
// 14.350 MHz): SWR of point i is 1 + i / 100, resistance 50 + i, reactance -i.
QByteArray sweepAnswer(int last) {
    QByteArray answer = "S\r\n140000,143500,35\r\n";
    for (int i = 0; i <= last; ++i) {
        answer += QByteArray::number(1 + i / 100.0) + ',' + QByteArray::number(50 + i) + ',' +
                  QByteArray::number(-i) + "\r\n";
    }
    return answer + "E\r\n";
}

// The graph's x, in twips, of point `i` (fractions allowed) of a sweep of
// `gaps` gaps.
float xOfPoint(double i, int gaps) { return float(350 + i * (8895 - 350) / gaps); }

}  // namespace

// The shown tip follows the mouse; the handler reads the nearest point of
// the sample pattern, up to half a gap beyond either end, and nothing of one
// point or none.
TEST(CursorReadout, ReadsTheSamplePatternUnderTheMouseAndNothingOfOneOrNoPoint) {
    LoadedForm form;
    form->show();
    PictureBox* graph = form.ui.grphSWRDisplay;
    const QPoint first(int(2486.25 / 15) - 3, 100);  // near point 2
    QTest::mouseMove(graph, first);
    QHelpEvent help(QEvent::ToolTip, first, graph->mapToGlobal(first));
    QApplication::sendEvent(graph, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("2.0 @ 2.800MHz"));
    QTest::mouseMove(graph, QPoint(int(8895 / 15) - 2, 100));  // over the last point
    EXPECT_EQ(QToolTip::text(), QStringLiteral("6.0 @ 10.000MHz"));
    QToolTip::hideText();

    // Ten gaps of 854.5 twips over 1 to 10 MHz: point 2 is SWR 2.0 at 2.800 MHz.
    EXPECT_EQ(tipAt(form, 2486.25f), QStringLiteral("2.0 @ 2.800MHz"));
    EXPECT_EQ(tipAt(form, 2487.25f), QStringLiteral("2.5 @ 3.700MHz"));
    EXPECT_EQ(tipAt(form, 350 - 427), QStringLiteral("1.0 @ 1.000MHz"));
    EXPECT_EQ(tipAt(form, -200), QString());
    for (const std::int16_t last : {std::int16_t(0), std::int16_t(-1)}) {
        form->NumPoints = last;
        for (const float x : {350.0f, 5000.0f, -5000.0f}) EXPECT_EQ(tipAt(form, x), QString()) << x;
    }
}

// Point 20 of a later, shorter sweep over the same band lies beyond the
// graph, where a drag far to the right reads the earlier sweep's rows.
TEST(CursorReadout, LongSweepTheChosenQuantityAndRowsOfAnEarlierLongerSweep) {
    ScanRig rig(sweepAnswer(100));
    rig.Scan();
    LoadedForm& form = rig.form;
    EXPECT_EQ(tipAt(form, 350), QStringLiteral("1.0 @ 14.000MHz"));
    EXPECT_EQ(tipAt(form, xOfPoint(40, 100)), QStringLiteral("1.4 @ 14.140MHz"));
    EXPECT_EQ(tipAt(form, 8895), QStringLiteral("2.0 @ 14.350MHz"));
    EXPECT_EQ(tipAt(form, xOfPoint(99.51, 100)), QStringLiteral("2.0 @ 14.350MHz"));
    EXPECT_EQ(tipAt(form, xOfPoint(-0.6, 100)), QString());
    form.ui.MnComboDisplay->SetListIndex(1);  // only SWR drawn
    form.ui.OptCursor[2]->click();
    EXPECT_EQ(form->graphCursor, 2);
    EXPECT_EQ(tipAt(form, xOfPoint(40, 100)), QStringLiteral("-40.0 @ 14.140MHz"));
    form.ui.OptCursor[1]->click();
    EXPECT_EQ(tipAt(form, xOfPoint(40, 100)), QStringLiteral("90.0 @ 14.140MHz"));

    form->NumPoints = 10;
    EXPECT_EQ(tipAt(form, xOfPoint(20, 10), 1), QStringLiteral("70.0 @ 14.700MHz"));
    // Rows nothing ever wrote read as 0; beyond the array's last row, or
    // beyond 16 bits, the tip is empty.
    EXPECT_EQ(tipAt(form, xOfPoint(200, 10), 1), QStringLiteral("0.0 @ 21.000MHz"));
    EXPECT_EQ(tipAt(form, xOfPoint(16385, 10), 1), QString());
    EXPECT_EQ(tipAt(form, 3.0e10f, 1), QString());
}
