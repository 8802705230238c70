#include <gtest/gtest.h>
#include <termios.h>

#include <QCoreApplication>
#include <QDir>
#include <functional>

#include "PtyPair.h"
#include "platform/CommControl.h"
#include "platform/CommError.h"

using namespace std::chrono_literals;

namespace {

// The description of the CommError the call throws; fails the test when it
// throws nothing.
QString failureOf(const std::function<void()>& call, int* number = nullptr) {
    try {
        call();
    } catch (const CommError& error) {
        if (number) *number = error.number;
        return error.description;
    }
    ADD_FAILURE() << "no CommError thrown";
    return {};
}

struct OpenPort {
    PtyPair pty;
    CommControl comm;
    explicit OpenPort(std::int16_t port = 1) {
        comm.SetCommPort(port);
        comm.SetDeviceOverride(pty.slavePath());
        comm.SetPortOpen(true);
    }
};

}  // namespace

TEST(CommControlSettings, ParsesTheClassicSettingsText) {
    using S = CommControl::LineSettings;
    const struct {
        const char* text;
        std::optional<S> expected;
    } cases[] = {
        {"9600,N,8,1", S{9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop}},
        {"19200,e,7,2",
         S{19200, QSerialPort::EvenParity, QSerialPort::Data7, QSerialPort::TwoStop}},
        {"300,O,5,1.5",
         S{300, QSerialPort::OddParity, QSerialPort::Data5, QSerialPort::OneAndHalfStop}},
        {"115200,M,6,1",
         S{115200, QSerialPort::MarkParity, QSerialPort::Data6, QSerialPort::OneStop}},
        {" 1200 , s , 8 , 2 ",
         S{1200, QSerialPort::SpaceParity, QSerialPort::Data8, QSerialPort::TwoStop}},
        {"", std::nullopt},
        {"9600", std::nullopt},
        {"9600,N,8", std::nullopt},
        {"9600,N,8,1,1", std::nullopt},
        {"0,N,8,1", std::nullopt},
        {"-9600,N,8,1", std::nullopt},
        {"+9600,N,8,1", std::nullopt},
        {"96OO,N,8,1", std::nullopt},
        {"99999999999,N,8,1", std::nullopt},
        {"9600,X,8,1", std::nullopt},
        {"9600,NN,8,1", std::nullopt},
        {"9600,,8,1", std::nullopt},
        {"9600,N,4,1", std::nullopt},
        {"9600,N,9,1", std::nullopt},
        {"9600,N,8,0", std::nullopt},
        {"9600,N,8,3", std::nullopt},
        {"9600,N,8,1.0", std::nullopt},
        {"9600;N;8;1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommControl::ParseSettings(QString::fromLatin1(c.text)), c.expected) << c.text;
    }
}

TEST(CommControlSettings, RefusesABadTextAndKeepsTheOldOne) {
    CommControl comm;
    comm.SetSettings(QStringLiteral("4800,N,8,1"));
    int number = 0;
    const QString text =
        failureOf([&] { comm.SetSettings(QStringLiteral("9600,Q,8,1")); }, &number);
    EXPECT_EQ(number, CommError::InvalidPropertyValue);
    EXPECT_TRUE(text.contains(u"9600,Q,8,1")) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Com1")) << text.toStdString();
    EXPECT_EQ(comm.Settings(), u"4800,N,8,1");
}

TEST(CommControlSettings, AppliesToTheOpenPortAndKeepsThemForTheNextOpen) {
    OpenPort open;
    ASSERT_TRUE(open.pty.isValid());
    const auto lineOf = [&] {
        termios t{};
        EXPECT_EQ(::tcgetattr(open.pty.slaveFd(), &t), 0);
        return t;
    };
    // A pseudo-terminal carries only 8 data bits without parity; speed and
    // stop bits it keeps.
    open.comm.SetSettings(QStringLiteral("19200,N,8,2"));
    termios t = lineOf();
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B19200));
    EXPECT_TRUE(t.c_cflag & CSTOPB);

    open.comm.SetPortOpen(false);
    open.comm.SetSettings(QStringLiteral("4800,N,8,1"));
    open.comm.SetPortOpen(true);
    t = lineOf();
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B4800));
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_EQ(open.comm.Settings(), u"4800,N,8,1");
}

TEST(CommControlSettings, ASettingTheDeviceRefusesFailsAndChangesNothing) {
    OpenPort open;
    const char* refused[] = {"9600,E,8,1", "9600,N,7,1", "9600,N,8,1.5"};
    for (const char* text : refused) {
        int number = 0;
        const QString why = failureOf([&] { open.comm.SetSettings(QLatin1String(text)); }, &number);
        EXPECT_EQ(number, CommError::SetCommStateFailed) << text;
        EXPECT_TRUE(why.startsWith(QStringLiteral("Cannot set Com1 (") + open.pty.slavePath() +
                                   QStringLiteral(") to ") + QLatin1String(text) + u':'))
            << why.toStdString();
        EXPECT_EQ(open.comm.Settings(), u"9600,N,8,1") << text;
        termios t{};
        ASSERT_EQ(::tcgetattr(open.pty.slaveFd(), &t), 0);
        EXPECT_EQ(::cfgetospeed(&t), speed_t(B9600)) << text;
    }
    open.comm.Output("0\r\n");
    EXPECT_EQ(open.pty.read(3, std::chrono::seconds(1)), QByteArray("0\r\n"));
}

TEST(CommControlSettings, HandshakingAndDtrWorkOnALineWithoutModemSignals) {
    OpenPort open;
    ASSERT_TRUE(open.comm.PortOpen());
    const struct {
        int mode;
        tcflag_t cflag;
        tcflag_t iflag;
    } cases[] = {{1, 0, IXON | IXOFF}, {2, CRTSCTS, 0}, {3, CRTSCTS, IXON | IXOFF}, {0, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_NO_THROW(open.comm.SetHandshaking(c.mode)) << c.mode;
        termios t{};
        ASSERT_EQ(::tcgetattr(open.pty.slaveFd(), &t), 0);
        // A pty may drop CRTSCTS (it has no such line); it must never gain it
        // when none was asked for.
        if (c.cflag == 0) {
            EXPECT_FALSE(t.c_cflag & CRTSCTS) << c.mode;
        }
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), c.iflag) << c.mode;
    }
    EXPECT_NO_THROW(open.comm.SetDTREnable(true));
    EXPECT_NO_THROW(open.comm.SetDTREnable(false));
    open.comm.SetPortOpen(false);
    open.comm.SetDTREnable(true);
    EXPECT_NO_THROW(open.comm.SetPortOpen(true)) << "DTR is asserted as the port opens";

    int number = 0;
    failureOf([&] { open.comm.SetHandshaking(4); }, &number);
    EXPECT_EQ(number, CommError::InvalidPropertyValue);
    EXPECT_EQ(open.comm.Handshaking(), 0);
}

TEST(CommControlPort, OpensClosesAndReopensAPseudoTerminal) {
    OpenPort open(7);
    EXPECT_TRUE(open.comm.PortOpen());
    EXPECT_EQ(open.comm.Device(), open.pty.slavePath());

    int number = 0;
    QString text = failureOf([&] { open.comm.SetPortOpen(true); }, &number);
    EXPECT_EQ(number, CommError::PortAlreadyOpen);
    EXPECT_TRUE(text.contains(u"Com7")) << text.toStdString();
    text = failureOf([&] { open.comm.SetCommPort(2); }, &number);
    EXPECT_EQ(number, CommError::PortAlreadyOpen);
    EXPECT_EQ(open.comm.CommPort(), 7);

    open.comm.SetPortOpen(false);
    EXPECT_FALSE(open.comm.PortOpen());
    EXPECT_NO_THROW(open.comm.SetPortOpen(false)) << "closing a closed port does nothing";
    open.comm.SetPortOpen(true);
    EXPECT_TRUE(open.comm.PortOpen());

    for (int bad : {0, -1, 256}) {
        CommControl other;
        failureOf([&] { other.SetCommPort(static_cast<std::int16_t>(bad)); }, &number);
        EXPECT_EQ(number, CommError::InvalidPortNumber) << bad;
        EXPECT_EQ(other.CommPort(), 1);
    }
}

TEST(CommControlPort, FailedOpensSayPortDeviceAndReason) {
    const QString missing = QDir::tempPath() + QStringLiteral("/vantrel-no-such-tty");
    CommControl comm;
    comm.SetCommPort(3);
    comm.SetDeviceOverride(missing);
    QString text = failureOf([&] { comm.SetPortOpen(true); });
    EXPECT_TRUE(text.contains(u"Com3")) << text.toStdString();
    EXPECT_TRUE(text.contains(missing)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"No such file or directory")) << text.toStdString();
    EXPECT_FALSE(comm.PortOpen());

    // A port number with no device behind it at all (nothing numbered that
    // high, no entry beside the test program).
    comm.SetDeviceOverride(QString());
    comm.SetCommPort(200);
    text = failureOf([&] { comm.SetPortOpen(true); });
    EXPECT_TRUE(text.startsWith(u"Cannot open Com200: no such serial port on this system."))
        << text.toStdString();

    // The same device twice: the second user is told it is busy.
    OpenPort first;
    CommControl second;
    second.SetCommPort(4);
    second.SetDeviceOverride(first.pty.slavePath());
    text = failureOf([&] { second.SetPortOpen(true); });
    EXPECT_TRUE(text.contains(u"Com4")) << text.toStdString();
    EXPECT_TRUE(text.contains(first.pty.slavePath())) << text.toStdString();
    EXPECT_TRUE(text.contains(u"in use by another program")) << text.toStdString();
    EXPECT_FALSE(second.PortOpen());
}

TEST(CommControlPort, ARefusedPermissionSaysHowUsersAreUsuallyLetIn) {
    const struct {
        QSerialPort::SerialPortError error;
        bool accessible;
        const char* group;
        const char* expected;
    } cases[] = {
        {QSerialPort::PermissionError, false, "dialout", "group \"dialout\""},
        {QSerialPort::PermissionError, false, "dialout", "log out and log in again"},
        {QSerialPort::PermissionError, false, "uucp", "usermod -aG uucp"},
        {QSerialPort::PermissionError, false, "root", "ask the administrator"},
        {QSerialPort::PermissionError, true, "dialout", "in use by another program"},
        {QSerialPort::DeviceNotFoundError, false, "", "plugged in"},
    };
    for (const auto& c : cases) {
        const QString text = CommControl::DescribeOpenFailure(
            2, QStringLiteral("/dev/ttyUSB0"), c.error, QStringLiteral("Permission denied"),
            c.accessible, QString::fromLatin1(c.group));
        EXPECT_TRUE(text.startsWith(u"Cannot open Com2 (/dev/ttyUSB0): Permission denied."))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(c.expected))) << text.toStdString();
    }
}
