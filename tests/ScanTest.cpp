#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <array>
#include <optional>

#include "ScanRig.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

namespace {

int CountRed(ScanRig& rig) { return CountColour(*rig.form.ui.grphSWRDisplay, QColor(255, 0, 0)); }

QByteArray points(int count, double swr = 1.5) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(swr) + "," + QByteArray::number(50 + i) + ",-" +
                 QByteArray::number(i) + "\r\n";
    return bytes;
}

const QByteArray kHeader = "S\r\n140000,143500,35\r\n";

}  // namespace

// One window through four answers, each asked for on a band row of its own:
// each sets the count anew, a point cut short by the end marker is stored but
// not counted, and rows beyond an answer keep what a longer one left there.
// The focus comes back to "Start Scan" after a complete answer, so Space
// scans again on the row still selected.
TEST(Scan, SendsTheBandsCommandAndCountsCompletePointsKeepingOlderRows) {
    ScanRig rig;
    ASSERT_TRUE(rig.form.ShowActive());
    QByteArray answer;
    rig.analyzer.onCommand = [&](const QByteArray&) { rig.analyzer.Queue(answer); };
    const auto scan = [&](const char* band, const QByteArray& command, const QByteArray& rest) {
        answer = kHeader + rest;
        rig.analyzer.received.clear();
        rig.form.ui.MnComboFScale->SetListIndex(rig.form.ui.MnComboFScale->findText(band));
        rig.Scan();
        EXPECT_EQ(rig.analyzer.received, command) << band;
    };
    scan(" 1-10MHz", "0\r\n", points(25, 2.0) + "E\r\n");
    scan(" 30 Mtrs", "9\r\n", points(5, 3.0) + "1.1,77,E\r\n");
    const ScanData& data = rig.form->ScanPoints();
    EXPECT_EQ(rig.form->NumPoints, 4);
    EXPECT_EQ(data(4, 0), 3.0);
    EXPECT_TRUE(data(5, 0) == 1.1 && data(5, 1) == 77 && data(5, 2) == -5);
    EXPECT_EQ(data(6, 0), 2.0);
    // Without points only the frame is drawn, and the label stays as it was.
    scan(" 40 Mtrs", ":\r\n", "E\r\n");
    EXPECT_EQ(rig.form->NumPoints, -1);
    EXPECT_EQ(CountRed(rig), 0);
    EXPECT_GT(CountColour(*rig.form.ui.grphSWRDisplay, QColor(150, 150, 150)), 0);
    EXPECT_EQ(rig.form.ui.LblPoints->text(), QStringLiteral("Waiting"));
    scan("VHF", "?\r\n", "E\r\n");
    ASSERT_EQ(QApplication::focusWidget(), rig.form.ui.btnCollectDisplayData);
    rig.analyzer.received.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(rig.analyzer.received, "?\r\n");
    EXPECT_EQ(rig.messages.texts, QStringList());
}

// Every ending short of the answer's own leaves the same stopped window: the
// range back at 1 to 10 MHz, no trace, "Aborted", the port closed and the
// focus on "Start Scan" for Space to start the next scan. A reader failure
// adds a message naming the port that was being read. None keeps a
// descriptor: the count after the first case (which lets the toolkit open
// what it keeps for good) stays the same after each other.
TEST(Scan, EveryEarlyEndingLeavesTheStoppedWindow) {
    const auto stop = [](ScanRig& rig) { rig.form.ui.btnStopCollectData->click(); };
    const struct {
        const char* name;
        QByteArray answer;
        std::function<void(ScanRig&)> atPoint2;  // else the user stops once all is read
        std::int16_t numPoints;
        QString failure;
        int nextPort;  // the one the next scan opens
    } cases[] = {
        // The analyzer never answers: the old count stays.
        {"stop while waiting", "", nullptr, 10, {}, 1},
        {"stop in the header", "S\r\n1400", nullptr, -1, {}, 1},
        {"stop after five points", kHeader + points(5), nullptr, 4, {}, 1},
        {"stop at point 2", kHeader + points(3), stop, 2, {}, 1},
        {"another port chosen", kHeader + points(3),
         [](ScanRig& rig) { rig.form.ui.cmboCommPort->SetListIndex(4); }, 2,
         QStringLiteral("the port has been closed."), 5},
        {"the device hung up", kHeader + points(3), [](ScanRig& rig) { rig.pty.closeMaster(); }, 2,
         QStringLiteral("the device has gone away (unplugged or hung up)."), 1},
    };
    const std::array<PictureBox * Controls::*, 3> boxes = {&Controls::grphSWRDisplay,
                                                           &Controls::picRes, &Controls::picFreq};
    std::array<QImage, 3> stopped;  // as the first stop at point 2 leaves them
    std::optional<int> descriptors;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (descriptors) {
            EXPECT_EQ(OpenDescriptors(), *descriptors) << "kept by the case before";
        }
        if (&c == &cases[1]) descriptors = OpenDescriptors();
        ScanRig rig(c.answer);
        ASSERT_TRUE(rig.form.ShowActive());
        if (c.atPoint2) {
            rig.When(QStringLiteral("2"), [&] { c.atPoint2(rig); });
        } else {
            rig.StopWhenAllRead();
        }
        rig.Scan();
        const QString cannotRead =
            QStringLiteral("Error in GetLine routine\nCannot read from Com1 (");
        EXPECT_EQ(rig.messages.texts,
                  c.failure.isEmpty()
                      ? QStringList()
                      : QStringList(cannotRead + rig.pty.slavePath() + "): " + c.failure));
        EXPECT_EQ(rig.form->NumPoints, c.numPoints);
        EXPECT_EQ(rig.form.ui.LblPoints->text(), QStringLiteral("Aborted"));
        EXPECT_EQ(rig.form->Scan_Start.Number(), 10000);
        EXPECT_EQ(rig.form->Scan_End.Number(), 100000);
        EXPECT_EQ(CountRed(rig), 0);
        EXPECT_TRUE(rig.Idle());
        EXPECT_EQ(rig.form.ui.cntlComm->CommPort(), c.nextPort);
        for (std::size_t i = 0; c.atPoint2 && i < boxes.size(); ++i) {
            const QImage& image = (rig.form.ui.*boxes[i])->Image();
            if (stopped[i].isNull()) stopped[i] = image.copy();
            EXPECT_EQ(image, stopped[i]) << "picture " << i;
        }
        // After a message box the window manager hands the activation back;
        // the offscreen platform has none to do it.
        rig.form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&*rig.form));
        EXPECT_EQ(QApplication::focusWidget(), rig.form.ui.btnCollectDisplayData);
        if (QApplication::focusWidget() != rig.form.ui.btnCollectDisplayData || !rig.pty.isValid())
            continue;  // a hung-up analyzer answers nothing more
        rig.analyzer.received.clear();
        rig.analyzer.onCommand = [&](const QByteArray&) { rig.analyzer.Queue(kHeader + "E\r\n"); };
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_EQ(rig.analyzer.received, "0\r\n");
    }
    EXPECT_EQ(OpenDescriptors(), descriptors.value_or(-1)) << "kept by the last case";
}

// However many characters wait in the port, the reader lets a click through
// before it takes the next one: a stop that waits in the event queue while
// the reader is behind ends the scan within the point being read.
TEST(Scan, AStopIsSeenWithinOnePassWhileCharactersWait) {
    ScanRig rig(kHeader + points(5000) + "E\r\n");
    std::optional<int> lastStored;
    int waiting = 0;
    rig.During([&] {
        bool counted = false;
        const int stored = rig.form.ui.LblPoints->text().toInt(&counted);
        waiting = rig.form.ui.cntlComm->InBufferCount();
        if (!counted || waiting < 2000) return false;
        lastStored = stored;
        QMetaObject::invokeMethod(rig.form.ui.btnStopCollectData, &QPushButton::click,
                                  Qt::QueuedConnection);
        return true;
    });
    rig.Scan();
    ASSERT_TRUE(lastStored) << "the reader never fell behind the line";
    EXPECT_GE(waiting, 2000);
    // The point being read when the click was queued may still complete.
    EXPECT_GE(rig.form->NumPoints, *lastStored);
    EXPECT_LE(rig.form->NumPoints, *lastStored + 1);
    EXPECT_EQ(rig.form.ui.LblPoints->text(), QStringLiteral("Aborted"));
}

// A port that cannot be opened is reported, nothing else changes, and the
// failed open keeps no descriptor, however often it happens.
TEST(Scan, AMissingPortIsReportedAndKeepsNothing) {
    const auto scanMissingPort = [] {
        ScanRig rig;
        rig.form.ui.cntlComm->SetDeviceOverride(QStringLiteral("/dev/no-such-analyzer-port"));
        rig.form.ui.LblPoints->setText(QStringLiteral("before"));
        rig.Scan();
        ASSERT_EQ(rig.messages.texts.size(), 1);
        EXPECT_TRUE(rig.messages.texts[0].startsWith(
                        QStringLiteral("Error in btnCollectDisplayData_Click routine\n")) &&
                    rig.messages.texts[0].contains(QStringLiteral("/dev/no-such-analyzer-port")))
            << rig.messages.texts[0].toStdString();
        EXPECT_EQ(rig.messages.titles[0], QStringLiteral("Vantrel"));
        EXPECT_EQ(rig.form.ui.LblPoints->text(), QStringLiteral("before"));
        EXPECT_EQ(rig.form->NumPoints, 10);
        EXPECT_TRUE(rig.Idle());
    };
    scanMissingPort();
    const int before = OpenDescriptors();
    for (int round = 0; round < 5; ++round) scanMissingPort();
    EXPECT_EQ(OpenDescriptors(), before);
}
