#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <thread>

#include "PtyPair.h"
#include "platform/CommControl.h"
#include "platform/CommError.h"

using namespace std::chrono_literals;

namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

struct OpenPort {
    PtyPair pty;
    CommControl comm;
    OpenPort() {
        comm.SetDeviceOverride(pty.slavePath());
        comm.SetPortOpen(true);
    }
};

int openDescriptors() { return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).count()); }

}  // namespace

TEST(CommControlIo, InputGivesOneCharacterAtATimeAndNeverWaits) {
    OpenPort open;
    ASSERT_TRUE(open.comm.PortOpen());
    EXPECT_EQ(open.comm.InputLen(), 1);

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(open.comm.Input(), QString());
    EXPECT_LT(clock.elapsed(), 500) << "an empty read must return at once";
    EXPECT_FALSE(open.comm.BytesWaiting());

    const QByteArray sent("S,\r\n\xB0z", 6);
    ASSERT_TRUE(open.pty.write(sent));
    ASSERT_TRUE(waitFor([&] { return open.comm.InBufferCount() == sent.size(); }));
    EXPECT_TRUE(open.comm.BytesWaiting());
    QString received;
    for (int i = 0; i < sent.size(); ++i) {
        const QString one = open.comm.Input();
        ASSERT_EQ(one.size(), 1) << i;
        received += one;
    }
    EXPECT_EQ(received, QString::fromLatin1(sent));
    EXPECT_EQ(open.comm.Input(), QString());
    EXPECT_FALSE(open.comm.BytesWaiting());
}

TEST(CommControlIo, OutputReachesTheOtherEndWithoutTheEventLoop) {
    OpenPort open;
    open.comm.Output(QByteArray("\x3A\r\n"));
    EXPECT_EQ(open.pty.read(3, 1000ms), QByteArray("\x3A\r\n"));
    // Closing right after writing must not swallow the command.
    open.comm.Output(QByteArray("0\r\n"));
    open.comm.SetPortOpen(false);
    EXPECT_EQ(open.pty.read(3, 1000ms), QByteArray("0\r\n"));
}

TEST(CommControlIo, ZeroCountsDiscardPendingInputAndOutput) {
    OpenPort open;
    ASSERT_TRUE(open.pty.write("stale echo,"));
    ASSERT_TRUE(waitFor([&] { return open.comm.InBufferCount() == 11; }));
    open.comm.SetInBufferCount(0);
    EXPECT_EQ(open.comm.InBufferCount(), 0);
    EXPECT_EQ(open.comm.Input(), QString());

    // Nobody reads the master, so the terminal's buffer fills and the rest
    // of a long output stays queued here, beyond the 512-byte output buffer.
    int txFull = 0;
    QObject::connect(&open.comm, &CommControl::OnComm, [&] {
        if (open.comm.CommEvent() == CommControl::Event::TxFull) ++txFull;
    });
    const QByteArray flood(1 << 20, 'x');
    open.comm.Output(flood);
    EXPECT_GT(open.comm.OutBufferCount(), open.comm.OutBufferSize());
    EXPECT_EQ(txFull, 1);
    open.comm.SetOutBufferCount(0);
    EXPECT_EQ(open.comm.OutBufferCount(), 0);
    EXPECT_LT(open.pty.readAvailable().size(), flood.size());

    for (int bad : {1, -1}) {
        EXPECT_THROW(open.comm.SetInBufferCount(bad), CommError);
        EXPECT_THROW(open.comm.SetOutBufferCount(bad), CommError);
    }
}

TEST(CommControlIo, AClosedPortRefusesEveryTransfer) {
    PtyPair pty;
    CommControl comm;
    comm.SetCommPort(5);
    comm.SetDeviceOverride(pty.slavePath());
    comm.SetPortOpen(true);
    comm.SetPortOpen(false);
    EXPECT_TRUE(comm.BytesWaiting()) << "a reader must not sleep on a closed port";
    const std::function<void()> calls[] = {
        [&] { comm.Input(); },
        [&] { comm.Output("0\r\n"); },
        [&] { comm.SetInBufferCount(0); },
        [&] { comm.SetOutBufferCount(0); },
    };
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "no CommError";
        } catch (const CommError& error) {
            EXPECT_EQ(error.number, CommError::PortNotOpen);
            EXPECT_TRUE(
                error.description.contains(QStringLiteral("Com5 (") + pty.slavePath() + u')'))
                << error.description.toStdString();
            EXPECT_TRUE(error.description.contains(u"not open")) << error.description.toStdString();
        }
    }
}

TEST(CommControlIo, AHungUpLineDeliversWhatCameThenFails) {
    OpenPort open;
    ASSERT_TRUE(open.pty.write("E\r"));
    ASSERT_TRUE(waitFor([&] { return open.comm.InBufferCount() == 2; }));
    open.pty.closeMaster();

    // Read the way the line reader does: yield, then take one character.
    QString received;
    QString failure;
    QElapsedTimer clock;
    clock.start();
    while (failure.isEmpty() && clock.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        try {
            received += open.comm.Input();
        } catch (const CommError& error) {
            failure = error.description;
        }
    }
    EXPECT_EQ(received, u"E\r");
    EXPECT_TRUE(failure.contains(QStringLiteral("Com1 (") + open.pty.slavePath() + u')'))
        << failure.toStdString();
    EXPECT_TRUE(failure.contains(u"gone away")) << failure.toStdString();
    EXPECT_TRUE(open.comm.PortOpen()) << "the caller closes it";
    EXPECT_THROW(open.comm.Output("0\r\n"), CommError);
    open.comm.SetPortOpen(false);
    EXPECT_FALSE(open.comm.PortOpen());
}

TEST(CommControlIo, ClosingReleasesTheDeviceOnEveryPath) {
    const QString missing = QDir::tempPath() + QStringLiteral("/vantrel-no-such-tty");
    const int before = openDescriptors();
    {
        PtyPair pty;
        CommControl comm;
        CommControl rival;
        rival.SetDeviceOverride(pty.slavePath());
        for (int i = 0; i < 100; ++i) {
            comm.SetDeviceOverride(pty.slavePath());
            comm.SetPortOpen(true);
            comm.Output("x");
            EXPECT_THROW(rival.SetPortOpen(true), CommError);
            comm.SetPortOpen(false);
            comm.SetDeviceOverride(missing);
            EXPECT_THROW(comm.SetPortOpen(true), CommError);
        }
    }
    for (int i = 0; i < 20; ++i) {
        OpenPort open;
        open.pty.closeMaster();
        waitFor([&] {
            try {
                open.comm.Input();
                return false;
            } catch (const CommError&) {
                return true;
            }
        });
        if (i % 2) open.comm.SetPortOpen(false);  // else the destructor closes it
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(openDescriptors(), before);
}

TEST(CommControlIo, IncomingDataWakesAnIdleEventLoop) {
    OpenPort open;
    // A timer ends the wait should the data not wake the loop, so the test
    // fails instead of hanging.
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(5000);
    std::thread analyzer([&] {
        std::this_thread::sleep_for(100ms);
        open.pty.write("S");
    });
    QElapsedTimer clock;
    clock.start();
    while (!open.comm.BytesWaiting() && guard.isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const qint64 waited = clock.elapsed();
    analyzer.join();
    EXPECT_TRUE(open.comm.BytesWaiting());
    EXPECT_LT(waited, 4000);
    EXPECT_EQ(open.comm.Input(), u"S");
}

TEST(CommControlIo, OnCommReportsReceiveAndSendOnlyAboveZeroThresholds) {
    for (int threshold : {0, 1, 4}) {
        OpenPort open;
        QList<CommControl::Event> events;
        QObject::connect(&open.comm, &CommControl::OnComm,
                         [&] { events.append(open.comm.CommEvent()); });
        open.comm.SetRThreshold(threshold);
        open.comm.SetSThreshold(threshold);
        open.comm.Output("0\r\n");
        ASSERT_TRUE(open.pty.write("S,100"));
        ASSERT_TRUE(waitFor([&] { return open.comm.InBufferCount() == 5; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(events.contains(CommControl::Event::Receive), threshold > 0) << threshold;
        EXPECT_EQ(events.contains(CommControl::Event::Send), threshold > 0) << threshold;
        EXPECT_FALSE(events.contains(CommControl::Event::RxOver)) << threshold;
    }
}

TEST(CommControlIo, DataBeyondTheInputBufferIsReportedButKept) {
    OpenPort open;
    int overflows = 0;
    QObject::connect(&open.comm, &CommControl::OnComm, [&] {
        if (open.comm.CommEvent() == CommControl::Event::RxOver) ++overflows;
    });
    const int total = open.comm.InBufferSize() + 5000;
    std::thread analyzer([&] { open.pty.write(QByteArray(total, '7')); });
    const bool all = waitFor([&] { return open.comm.InBufferCount() == total; });
    analyzer.join();
    ASSERT_TRUE(all) << open.comm.InBufferCount();
    EXPECT_EQ(overflows, 1);
}

// Measures the per-character read the line reader makes, alone and with the
// yield to the event loop that the reader performs before every read.
TEST(CommControlThroughput, InputKeepsUpWithAFastStream) {
    OpenPort open;
    open.comm.SetSettings(QStringLiteral("115200,N,8,1"));
    constexpr int total = 1 << 20;
    std::thread analyzer([&] {
        QByteArray chunk(4096, '5');
        for (int sent = 0; sent < total; sent += chunk.size()) open.pty.write(chunk);
    });
    const bool all = waitFor([&] { return open.comm.InBufferCount() == total; }, 20000);
    analyzer.join();
    ASSERT_TRUE(all);

    QElapsedTimer clock;
    clock.start();
    int read = 0;
    while (read < total / 2 && open.comm.Input().size() == 1) ++read;
    const double inputOnly = read / (clock.nsecsElapsed() / 1e9);
    ASSERT_EQ(read, total / 2);

    clock.restart();
    while (read < total) {
        QCoreApplication::processEvents();
        if (open.comm.Input().size() == 1) ++read;
    }
    const double withYield = (total / 2) / (clock.nsecsElapsed() / 1e9);
    std::printf(
        "[ rate     ] Input alone: %.0f chars/s; with processEvents per char: %.0f chars/s\n",
        inputOnly, withYield);
    EXPECT_GT(inputOnly, 200000.0);
}
