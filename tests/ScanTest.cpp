#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <array>

#include "ScanRig.h"
#include "platform/ComboBox.h"
#include "platform/CommControl.h"
#include "platform/PictureBox.h"

namespace {

int CountRed(ScanRig& rig) { return CountColour(*rig.form->grphSWRDisplay, QColor(255, 0, 0)); }

QByteArray points(int count, double swr = 1.5) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(swr) + "," + QByteArray::number(50 + i) + ",-" +
                 QByteArray::number(i) + "\r\n";
    return bytes;
}

const QByteArray kHeader = "S\r\n140000,143500,35\r\n";

}  // namespace

TEST(Scan, SendsTheBandCodeOfTheSelectedRow) {
    ScanRig rig(kHeader + "E\r\n");
    const std::pair<const char*, QByteArray> bands[] = {
        {" 1-10MHz", "0\r\n"}, {" 30 Mtrs", "9\r\n"}, {" 40 Mtrs", ":\r\n"}, {"VHF", "?\r\n"}};
    for (const auto& [band, command] : bands) {
        rig.analyzer.received.clear();
        rig.form->MnComboFScale->SetListIndex(rig.form->MnComboFScale->findText(band));
        rig.Scan();
        EXPECT_EQ(rig.analyzer.received, command) << band;
    }
    EXPECT_EQ(rig.messages.texts, QStringList());
}

TEST(Scan, ReadsHeaderAndPointsWhateverTheFraming) {
    const struct {
        const char* name;
        QByteArray answer;
        std::int16_t numPoints;
        double start, end, swr0, r0, x0;
    } cases[] = {
        {"echo and near-markers before S",
         "8\r\ns\r\nS \r\nhello,S\r\n140000,143500,35\r\n1.5,50,0\r\nE\r\n", 0, 140000, 143500, 1.5,
         50, 0},
        {"mixed separators, LF inside numbers", "S\r1\n40000,14\n3500\r35,1.\n5\r5\n0,-2\rE,", 0,
         140000, 143500, 1.5, 50, -2},
        {"blanks and trailing letters", "S\r\n 12.5abc,xyz,1\r\n 2.5x, abc ,3\r\nE\r\n", 0, 12.5, 0,
         2.5, 0, 3},
    };
    for (const auto& c : cases) {
        ScanRig rig(c.answer);
        rig.Scan();
        EXPECT_EQ(rig.form->NumPoints, c.numPoints) << c.name;
        EXPECT_EQ(rig.form->Scan_Start.Number(), c.start) << c.name;
        EXPECT_EQ(rig.form->Scan_End.Number(), c.end) << c.name;
        const ScanData& data = rig.form->ScanPoints();
        EXPECT_EQ(data(0, 0), c.swr0) << c.name;
        EXPECT_EQ(data(0, 1), c.r0) << c.name;
        EXPECT_EQ(data(0, 2), c.x0) << c.name;
        EXPECT_TRUE(rig.Idle()) << c.name;
        EXPECT_GT(CountRed(rig), 0) << c.name;
    }
}

TEST(Scan, AnswerWithoutPointsDrawsTheFrameOnly) {
    ScanRig rig(kHeader + "E\r\n");
    rig.Scan();
    EXPECT_EQ(rig.form->NumPoints, -1);
    EXPECT_EQ(CountRed(rig), 0);
    EXPECT_GT(CountColour(*rig.form->grphSWRDisplay, QColor(150, 150, 150)), 0);
    EXPECT_EQ(rig.form->LblPoints->text(), QStringLiteral("Waiting"));
}

TEST(Scan, PointCutShortByTheEndMarkerIsNotCounted) {
    ScanRig rig(kHeader + points(3) + "1.1,77,E\r\n");
    rig.Scan();
    EXPECT_EQ(rig.form->NumPoints, 2);
    EXPECT_EQ(rig.form->ScanPoints()(3, 0), 1.1);
    EXPECT_EQ(rig.form->ScanPoints()(3, 1), 77);
}

TEST(Scan, FewerPointsThanBeforeLeaveTheOlderRows) {
    ScanRig rig(kHeader + points(25, 2.0) + "E\r\n");
    rig.Scan();
    rig.analyzer.onCommand = [&](const QByteArray&) {
        rig.analyzer.Queue(kHeader + points(5, 3.0) + "E\r\n");
    };
    rig.Scan();
    EXPECT_EQ(rig.form->NumPoints, 4);
    EXPECT_EQ(rig.form->ScanPoints()(4, 0), 3.0);
    EXPECT_EQ(rig.form->ScanPoints()(5, 0), 2.0);
}

TEST(Scan, StopEndsTheScanWhereverItIs) {
    const struct {
        const char* name;
        QByteArray answer;
        std::int16_t numPoints;
    } cases[] = {
        {"while waiting", "", 10},  // the analyzer never answers: the old count stays
        {"while the header arrives", "S\r\n1400", -1},
        {"after five points", kHeader + points(5), 4},
    };
    for (const auto& c : cases) {
        ScanRig rig(c.answer);
        rig.StopWhenAllRead();
        rig.Scan();
        EXPECT_EQ(rig.form->NumPoints, c.numPoints) << c.name;
        EXPECT_EQ(rig.form->LblPoints->text(), QStringLiteral("Aborted")) << c.name;
        // Whatever the header said, a stopped scan leaves the range at 1 to 10 MHz.
        EXPECT_EQ(rig.form->Scan_Start.Number(), 10000) << c.name;
        EXPECT_EQ(rig.form->Scan_End.Number(), 100000) << c.name;
        EXPECT_EQ(CountRed(rig), 0) << c.name;
        EXPECT_TRUE(rig.Idle()) << c.name;
        EXPECT_EQ(rig.messages.texts, QStringList()) << c.name;
    }
}

// However the scan ends, the focus is back on "Start Scan", so that Space
// starts the next one.
TEST(Scan, FocusReturnsToStartScanAfterEveryEnding) {
    const struct {
        const char* name;
        QByteArray answer;
        std::function<void(frmMain&)> during;  // run once the last point is in
    } endings[] = {
        {"answer complete", kHeader + points(3) + "E\r\n", nullptr},
        {"stop request", kHeader + points(3), [](frmMain& f) { f.btnStopCollectData->click(); }},
        {"port changed", kHeader + points(3), [](frmMain& f) { f.cmboCommPort->SetListIndex(0); }},
    };
    for (const auto& ending : endings) {
        ScanRig rig(ending.answer);
        rig.form->show();
        rig.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&*rig.form));
        if (ending.during) {
            rig.During([&] {
                if (rig.form->LblPoints->text() != QStringLiteral("2")) return false;
                ending.during(*rig.form);
                return true;
            });
        }
        rig.Scan();
        // After a message box the window manager hands the activation back;
        // the offscreen platform has none to do it.
        rig.form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&*rig.form)) << ending.name;
        if (QApplication::focusWidget() != rig.form->btnCollectDisplayData) {
            ADD_FAILURE() << ending.name << ": the focus is elsewhere";
            continue;
        }
        rig.analyzer.received.clear();
        rig.analyzer.onCommand = [&](const QByteArray&) { rig.analyzer.Queue(kHeader + "E\r\n"); };
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_EQ(rig.analyzer.received, "0\r\n") << ending.name;
    }
}

// A click waits in the event queue while characters wait in the port; the
// reader handles the click before it takes the next character.
TEST(Scan, AStopIsSeenWithinOnePassWhileCharactersWait) {
    PtyPair pty;
    LoadedForm form;
    form->cntlComm->SetDeviceOverride(pty.slavePath());
    form->cntlComm->SetPortOpen(true);
    constexpr int kWaiting = 3000;
    ASSERT_TRUE(pty.write(QByteArray(kWaiting, '7')));
    for (int i = 0; i < 100000 && form->cntlComm->InBufferCount() < kWaiting; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_EQ(form->cntlComm->InBufferCount(), kWaiting);
    form->btnStopCollectData->setEnabled(true);
    QMetaObject::invokeMethod(form->btnStopCollectData, &QPushButton::click, Qt::QueuedConnection);
    // The pass that sees the stop drops its character; every later call
    // returns after a single read.
    EXPECT_EQ(FormTestAccess::GetLine(*form), QString());
    EXPECT_EQ(form->cntlComm->InBufferCount(), kWaiting - 1);
    EXPECT_EQ(FormTestAccess::GetLine(*form), QString());
    EXPECT_EQ(form->cntlComm->InBufferCount(), kWaiting - 2);
}

TEST(Scan, MissingPortIsReportedAndNothingChanges) {
    ScanRig rig;
    rig.form->cntlComm->SetDeviceOverride(QStringLiteral("/dev/no-such-analyzer-port"));
    rig.form->LblPoints->setText(QStringLiteral("before"));
    rig.Scan();
    ASSERT_EQ(rig.messages.texts.size(), 1);
    EXPECT_TRUE(rig.messages.texts[0].startsWith(
        QStringLiteral("Error in btnCollectDisplayData_Click routine\n")));
    EXPECT_TRUE(rig.messages.texts[0].contains(QStringLiteral("/dev/no-such-analyzer-port")));
    EXPECT_EQ(rig.messages.titles[0], QStringLiteral("Vantrel"));
    EXPECT_EQ(rig.form->LblPoints->text(), QStringLiteral("before"));
    EXPECT_EQ(rig.form->NumPoints, 10);
    EXPECT_EQ(rig.form->Scan_Start.Number(), 10000);
    EXPECT_TRUE(rig.Idle());
}

// A reader failure ends the scan as a stop does: the same picture, label and
// range afterwards, and a message that names the port that was being read.
TEST(Scan, ReaderFailureEndsTheScanAsAStopDoes) {
    const auto scanEndedBy = [](const std::function<void(ScanRig&)>& ending, ScanRig& rig) {
        rig.During([&rig, ending] {
            if (rig.form->LblPoints->text() != QStringLiteral("2")) return false;
            ending(rig);
            return true;
        });
        rig.Scan();
    };
    const std::array<PictureBox * frmMain::*, 3> boxes = {&frmMain::grphSWRDisplay,
                                                          &frmMain::picRes, &frmMain::picFreq};
    std::array<QImage, 3> afterStop;
    {
        // Gone before the failures, so that its message catcher takes none of theirs.
        ScanRig stopped(kHeader + points(3));
        scanEndedBy([](ScanRig& rig) { rig.form->btnStopCollectData->click(); }, stopped);
        for (std::size_t i = 0; i < boxes.size(); ++i)
            afterStop[i] = ((*stopped.form).*boxes[i])->Image().copy();
    }

    const struct {
        const char* name;
        std::function<void(ScanRig&)> failure;
        QString reason;
        int nextPort;  // the one the next scan opens
    } failures[] = {
        {"another port chosen", [](ScanRig& rig) { rig.form->cmboCommPort->SetListIndex(4); },
         QStringLiteral("the port has been closed."), 5},
        {"the device hung up", [](ScanRig& rig) { rig.pty.closeMaster(); },
         QStringLiteral("the device has gone away (unplugged or hung up)."), 1},
    };
    for (const auto& f : failures) {
        ScanRig rig(kHeader + points(3));
        scanEndedBy(f.failure, rig);
        ASSERT_EQ(rig.messages.texts.size(), 1) << f.name;
        EXPECT_EQ(rig.messages.texts[0],
                  QStringLiteral("Error in GetLine routine\nCannot read from Com1 (") +
                      rig.pty.slavePath() + QStringLiteral("): ") + f.reason)
            << f.name;
        EXPECT_TRUE(rig.Idle()) << f.name;
        EXPECT_EQ(rig.form->cntlComm->CommPort(), f.nextPort) << f.name;
        EXPECT_EQ(rig.form->NumPoints, 2) << f.name;
        EXPECT_EQ(rig.form->LblPoints->text(), QStringLiteral("Aborted")) << f.name;
        EXPECT_EQ(rig.form->Scan_Start.Number(), 10000) << f.name;
        EXPECT_EQ(rig.form->Scan_End.Number(), 100000) << f.name;
        EXPECT_EQ(CountRed(rig), 0) << f.name;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            EXPECT_EQ(((*rig.form).*boxes[i])->Image(), afterStop[i]) << f.name << " " << i;
    }
}

TEST(Scan, EveryWayOutReleasesThePort) {
    const auto stopSwitchAndMissingPort = [] {
        ScanRig rig;
        rig.During([&] {
            if (rig.form->LblPoints->text() != QStringLiteral("Waiting")) return false;
            rig.form->btnStopCollectData->click();
            return true;
        });
        rig.Scan();
        rig.During([&] {
            if (rig.form->LblPoints->text() != QStringLiteral("Waiting")) return false;
            rig.form->cmboCommPort->SetListIndex(1);
            return true;
        });
        rig.Scan();
        rig.form->cntlComm->SetDeviceOverride(QStringLiteral("/dev/no-such-analyzer-port"));
        rig.Scan();
        EXPECT_TRUE(rig.Idle());
    };
    // The first round lets the toolkit open what it keeps for good (fonts,
    // event sources); after that every round must give back all it took.
    stopSwitchAndMissingPort();
    const int before = OpenDescriptors();
    for (int round = 0; round < 5; ++round) stopSwitchAndMissingPort();
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(Scan, RandomAnswersKeepTheInvariants) {
    ScanRig rig;
    frmMain& form = *rig.form;
    QRandomGenerator random(20261206);
    const QByteArray alphabet = "SE,\r\n0123456789.-+e \tabc";
    QByteArray answer;
    rig.analyzer.onCommand = [&](const QByteArray&) { rig.analyzer.Queue(answer); };
    for (int run = 0; run < 2000; ++run) {
        answer.clear();
        const int length = int(random.bounded(300));
        const bool binary = run % 3 == 0;
        for (int i = 0; i < length; ++i) {
            answer +=
                binary ? char(random.bounded(256)) : alphabet[int(random.bounded(alphabet.size()))];
        }
        if (run % 500 == 0) answer += QByteArray(20000, '7');  // one huge field
        // Whatever state the stream left the scan in, this ends it.
        answer += "\rS\r0\r0\r0\rE\r";
        rig.Scan();
        ASSERT_GE(form.NumPoints, -1) << run;
        ASSERT_LE(form.NumPoints, 16383) << run;
        ASSERT_TRUE(rig.Idle()) << run;
    }
    EXPECT_EQ(rig.messages.texts, QStringList());
}
