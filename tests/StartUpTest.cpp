#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

#include "FormFixture.h"
#include "platform/runtime/AppInfo.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/ComboBox.h"

namespace {

QByteArray configuration(const QByteArray& value) {
    return "[Configuration]\r\nCommPort=" + value + "\r\n";
}

}  // namespace

TEST(StartUp, FirstStartWithoutASettingsFile) {
    LoadedForm form(QByteArray{});
    EXPECT_EQ(form.ui.cmboCommPort->currentText(), QStringLiteral("Com1"));
    EXPECT_EQ(form.ui.cntlComm->CommPort(), 1);
    EXPECT_FALSE(form.ui.cntlComm->PortOpen());
    EXPECT_EQ(form.IniContent(), configuration("1"));
    EXPECT_EQ(form.ui.LblVersion->text(), QStringLiteral("v 2.2.4"));
    EXPECT_EQ(form.ui.LblPoints->text(), QString());
    EXPECT_EQ(form->NumPoints, 10);
    EXPECT_EQ(form->ScanPoints().Rows(), 16385);
    EXPECT_TRUE(form.ui.OptCursor[0]->isChecked());
    EXPECT_TRUE(form->ScanPoints().IsEmpty(11, 0));
    EXPECT_TRUE(form->ScanPoints().IsEmpty(0, 3));
    EXPECT_EQ(form->Scan_Start.Number(), 10000);
    EXPECT_EQ(form->Scan_End.Number(), 100000);
}

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

TEST(StartUp, ChosenPortIsTheNextStartsPort) {
    QTemporaryDir dir;
    AppInfo::SetLocation(dir.path(), QStringLiteral("Vantrel"));
    {
        frmMain first;
        first.Form_Load();
        const Controls ui(first);
        ui.cmboCommPort->SetListIndex(15);
        EXPECT_EQ(ui.cntlComm->CommPort(), 16);
    }
    {
        frmMain second;
        second.Form_Load();
        const Controls ui(second);
        EXPECT_EQ(ui.cmboCommPort->currentText(), QStringLiteral("Com16"));
        EXPECT_EQ(ui.cntlComm->CommPort(), 16);
    }
    AppInfo::SetLocation(QString(), QString());
}
