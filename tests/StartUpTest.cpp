#include <gtest/gtest.h>

#include <QLabel>

#include "FormFixture.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/ComboBox.h"

namespace {

QByteArray configuration(const QByteArray& value) {
    return "[Configuration]\r\nCommPort=" + value + "\r\n";
}

}  // namespace

// The sample pattern, the range it spans and the port list's first row the
// readout, print and port list tests see; what is left is the rest of the
// first look and the array of a full sweep, empty past the sample's points.
TEST(StartUp, FirstStartWithoutASettingsFile) {
    LoadedForm form;
    EXPECT_EQ(form.ui.LblVersion->text(), QStringLiteral("v 2.2.4"));
    EXPECT_EQ(form.ui.LblPoints->text(), QString());
    EXPECT_FALSE(form.ui.cntlComm->PortOpen());
    EXPECT_EQ(form.IniContent(), configuration("1"));
    EXPECT_EQ(form->ScanPoints().Rows(), 16385);
    EXPECT_TRUE(form->ScanPoints().IsEmpty(11, 0));
}

// What a choice in the port list writes, the port list test sees.
TEST(StartUp, StoredPortIsSelectedAndBadValuesBecomeCom1) {
    const std::pair<QByteArray, int> cases[] = {{"5", 5},  {"16", 16},   {"0", 1},   {"17", 1},
                                                {"-3", 1}, {"40000", 1}, {"abc", 1}, {"", 1}};
    for (const auto& [stored, port] : cases) {
        SCOPED_TRACE(stored.constData());
        // Another section and a comment around the key must survive the write-back.
        const QByteArray before = "; kept\r\n[Window]\r\nLeft=3\r\n",
                         after = "[Ports]\r\nCom1=/dev/x\r\n";
        LoadedForm form(before + configuration(stored) + after);
        EXPECT_EQ(form.ui.cmboCommPort->ListIndex(), port - 1);
        EXPECT_EQ(form.ui.cntlComm->CommPort(), port);
        EXPECT_EQ(form.IniContent(), before + configuration(QByteArray::number(port)) + after);
        EXPECT_TRUE(form.ui.cmboCommPort->toolTip().startsWith(QStringLiteral("Com%1").arg(port)))
            << form.ui.cmboCommPort->toolTip().toStdString();
    }
}
