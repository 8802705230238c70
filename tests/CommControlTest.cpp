#include <gtest/gtest.h>
#include <termios.h>

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <functional>
#include <thread>

#include "FormFixture.h"
#include "PtyPair.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommError.h"

using namespace std::chrono_literals;

namespace {

// What the CommError the call throws says; fails the test when it throws none.
QString failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const CommError& error) {
        return error.description();
    }
    ADD_FAILURE() << "no CommError thrown";
    return QString();
}

// Yields to the event loop between checks, as the line reader does.
bool waitFor(const std::function<bool()>& condition) {
    const auto giveUp = std::chrono::steady_clock::now() + kHangGuard;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

termios lineOf(const PtyPair& pty) {
    termios line{};
    EXPECT_EQ(::tcgetattr(pty.slaveFd(), &line), 0);
    return line;
}

struct OpenPort {
    PtyPair pty;
    CommControl comm;
    const QString label = QStringLiteral("Com1 (") + pty.slavePath() + u')';
    OpenPort() {
        comm.SetDeviceOverride(pty.slavePath());
        comm.SetPortOpen(true);
    }
};

}  // namespace

TEST(CommControlSettings, ParsesTheClassicSettingsText) {
    using S = CommControl::LineSettings;
    using P = S::Parity;
    using B = S::StopBits;
    const std::pair<const char*, S> good[] = {
        {"9600,N,8,1", S{9600, P::None, 8, B::One}},
        {"19200,e,7,2", S{19200, P::Even, 7, B::Two}},
        {"300,O,5,1.5", S{300, P::Odd, 5, B::OneAndHalf}},
        {"115200,M,6,1", S{115200, P::Mark, 6, B::One}},
        {" 1200 , s , 8 , 2 ", S{1200, P::Space, 8, B::Two}},
    };
    for (const auto& [text, expected] : good) {
        EXPECT_EQ(CommControl::ParseSettings(QString::fromLatin1(text)), expected) << text;
    }
    for (const char* bad :
         {"", "9600", "9600,N,8", "9600,N,8,1,1", "0,N,8,1", "-9600,N,8,1", "+9600,N,8,1",
          "96OO,N,8,1", "99999999999,N,8,1", "9600,X,8,1", "9600,NN,8,1", "9600,,8,1", "9600,N,4,1",
          "9600,N,9,1", "9600,N,8,0", "9600,N,8,3", "9600,N,8,1.0", "9600;N;8;1"}) {
        EXPECT_FALSE(CommControl::ParseSettings(QString::fromLatin1(bad))) << bad;
    }
}

// Set on the open port, or stored while closed and applied by the next open;
// a refused one changes nothing.
TEST(CommControlSettings, ApplyNowOrAtTheNextOpenOrNotAtAll) {
    OpenPort open;
    const std::tuple<const char*, int, speed_t, tcflag_t> cases[] = {
        {"19200,N,8,2", 3, B19200, IXON | IXOFF}, {"4800,N,8,1", 0, B4800, 0}};
    for (const bool reopen : {false, true}) {
        for (const auto& [settings, handshaking, speed, xOnXOff] : cases) {
            if (reopen) open.comm.SetPortOpen(false);
            open.comm.SetSettings(QLatin1String(settings));
            open.comm.SetHandshaking(handshaking);
            // A pseudo-terminal has no DTR line; asking for it must not fail.
            EXPECT_NO_THROW(open.comm.SetDTREnable(true));
            if (reopen) open.comm.SetPortOpen(true);
            const termios line = lineOf(open.pty);
            EXPECT_EQ(::cfgetospeed(&line), speed) << settings << reopen;
            EXPECT_EQ(line.c_iflag & (IXON | IXOFF), xOnXOff) << settings << reopen;
        }
    }
    // A pseudo-terminal carries only 8 data bits without parity.
    for (const char* text : {"9600,Q,8,1", "9600,E,8,1", "9600,N,7,1", "9600,N,8,1.5"}) {
        const QString why = failureOf([&] { open.comm.SetSettings(QLatin1String(text)); });
        EXPECT_TRUE(why.contains(QLatin1String(text)) && why.contains(open.label))
            << why.toStdString();
        EXPECT_EQ(open.comm.Settings(), u"4800,N,8,1");
        const termios line = lineOf(open.pty);
        EXPECT_EQ(::cfgetospeed(&line), speed_t(B4800)) << text;
    }
    // Still usable; what was sent arrives even when the port closes at once.
    open.comm.Output("0\r\n");
    open.comm.SetPortOpen(false);
    EXPECT_EQ(open.pty.read(3, kHangGuard), "0\r\n");
}

// Each round also opens, uses and closes the port that is busy meanwhile;
// neither the failures nor the close may keep a descriptor.
TEST(CommControlPort, AFailedOpenSaysPortDeviceAndReasonAndKeepsNothing) {
    const int before = OpenDescriptors();
    {
        OpenPort busy;
        const std::tuple<std::int16_t, QString, const char*> cases[] = {
            {3, QDir::tempPath() + "/vantrel-no-such-tty", "No such file or directory"},
            {4, busy.pty.slavePath(), "in use by another program"},
            // Nothing numbered that high, and no Ports entry beside the test program.
            {200, QString(), "no such serial port on this system"},
        };
        for (int round = 0; round < 20; ++round) {
            if (round > 0) busy.comm.SetPortOpen(true);
            busy.comm.Output("x");
            for (const auto& [port, device, reason] : cases) {
                CommControl comm;
                comm.SetCommPort(port);
                comm.SetDeviceOverride(device);
                const QString text = failureOf([&] { comm.SetPortOpen(true); });
                const QString label = device.isEmpty() ? QString() : " (" + device + ')';
                EXPECT_TRUE(
                    text.startsWith(QStringLiteral("Cannot open Com%1%2: ").arg(port).arg(label)) &&
                    text.contains(QLatin1String(reason)))
                    << text.toStdString();
                EXPECT_FALSE(comm.PortOpen());
            }
            busy.comm.SetPortOpen(false);
        }
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(CommControlPort, ARefusedPermissionSaysHowUsersAreUsuallyLetIn) {
    using F = CommControl::OpenFailure;
    const std::tuple<F, bool, const char*, const char*> cases[] = {
        {F::Refused, false, "dialout", "group \"dialout\""},
        {F::Refused, false, "dialout", "log out and log in again"},
        {F::Refused, false, "uucp", "usermod -aG uucp"},
        {F::Refused, false, "root", "ask the administrator"},
        {F::Refused, true, "dialout", "in use by another program"},
        {F::NotFound, false, "", "plugged in"},
    };
    for (const auto& [failure, accessible, group, expected] : cases) {
        const QString text = CommControl::DescribeOpenFailure(
            2, QStringLiteral("/dev/ttyUSB0"), failure, QStringLiteral("Permission denied"),
            accessible, QString::fromLatin1(group));
        EXPECT_TRUE(text.startsWith(u"Cannot open Com2 (/dev/ttyUSB0): Permission denied.") &&
                    text.contains(QLatin1String(expected)))
            << text.toStdString();
    }
}

TEST(CommControlIo, ZeroCountsDiscardPendingInputAndOutput) {
    OpenPort open;
    ASSERT_TRUE(open.pty.write("stale echo,"));
    ASSERT_TRUE(waitFor([&] { return open.comm.InBufferCount() == 11; }));
    open.comm.SetInBufferCount(0);
    EXPECT_EQ(open.comm.Input(), QString());
    // Nobody reads the master, so the terminal's buffer fills and the rest
    // of a long output stays queued here.
    const QByteArray flood(1 << 20, 'x');
    open.comm.Output(flood);
    ASSERT_GT(open.comm.OutBufferCount(), 0);
    open.comm.SetOutBufferCount(0);
    EXPECT_EQ(open.comm.OutBufferCount(), 0);
    EXPECT_LT(open.pty.read(flood.size(), 200ms).size(), flood.size());
}

// Every round a hang-up; the caller closes the port in every other one, the
// destructor in the rest, and either releases the device.
TEST(CommControlIo, AHungUpLineDeliversWhatCameThenFailsAndIsReleased) {
    const int before = OpenDescriptors();
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        OpenPort open;
        ASSERT_TRUE(open.pty.write("E\r"));
        ASSERT_TRUE(waitFor([&] { return open.comm.InBufferCount() == 2; }));
        open.pty.closeMaster();
        // Read as the line reader reads, until Input throws.
        QString received;
        const QString failure =
            failureOf([&] { waitFor([&] { return (received += open.comm.Input(), false); }); });
        const QString cannotRead = QStringLiteral("Cannot read from ") + open.label + u':';
        EXPECT_EQ(received, u"E\r");
        EXPECT_EQ(failure, cannotRead + " the device has gone away (unplugged or hung up).");
        EXPECT_TRUE(open.comm.PortOpen()) << "the caller closes it";
        EXPECT_THROW(open.comm.Output("0\r\n"), CommError);
        if (round % 2) continue;
        // The scan's tests see that the text keeps naming this port once another is chosen.
        open.comm.SetPortOpen(false);
        EXPECT_TRUE(open.comm.BytesWaiting()) << "a reader must not sleep on a closed port";
        EXPECT_EQ(failureOf([&] { open.comm.Input(); }), cannotRead + " the port has been closed.");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(OpenDescriptors(), before);
}

// Input never waits, and data that arrives wakes an idle loop. A stream far
// beyond the input buffer is kept whole (RxOver says so once) and read back
// one character at a time; how fast is bench/'s to say.
TEST(CommControlIo, InputNeverWaitsAndKeepsAFastStreamWhole) {
    OpenPort open;
    // A read that waited for data would never return here.
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(open.comm.Input(), QString());
    EXPECT_FALSE(open.comm.BytesWaiting());
    // Should the data not wake the loop, the timer ends the wait instead.
    bool timedOut = false;
    QTimer::singleShot(kHangGuard, &open.comm, [&] { timedOut = true; });
    const QByteArray sent("S,\r\n\xB0z", 6);
    std::thread late([&] {
        std::this_thread::sleep_for(100ms);
        open.pty.write(sent);
    });
    while (open.comm.InBufferCount() < sent.size() && !timedOut)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    late.join();
    EXPECT_FALSE(timedOut) << "woken by the guard, not by the data";
    EXPECT_TRUE(open.comm.BytesWaiting());
    for (const char byte : sent) ASSERT_EQ(open.comm.Input(), QString(QChar(uchar(byte))));
    EXPECT_EQ(open.comm.Input(), QString());

    int overflows = 0;
    QObject::connect(&open.comm, &CommControl::OnComm,
                     [&] { overflows += open.comm.CommEvent() == CommControl::Event::RxOver; });
    constexpr int total = 1 << 20;
    std::thread fast([&] {
        for (int sent = 0; sent < total; sent += 4096) open.pty.write(QByteArray(4096, '7'));
    });
    const bool all = waitFor([&] { return open.comm.InBufferCount() == total; });
    fast.join();
    ASSERT_TRUE(all) << open.comm.InBufferCount();
    EXPECT_EQ(overflows, 1);
    int read = 0;
    while (open.comm.Input() == u"7") ++read;
    EXPECT_EQ(read, total);
}
