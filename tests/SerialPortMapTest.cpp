#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "platform/SerialPortMap.h"

using namespace SerialPortMap;

namespace {

QStringList list(std::initializer_list<const char*> names) {
    QStringList result;
    for (const char* name : names) result.append(QString::fromLatin1(name));
    return result;
}

}  // namespace

TEST(SerialPortMap, NumbersUsbAdaptersFirstInNaturalOrder) {
    const struct {
        QStringList system;
        QStringList expected;
    } cases[] = {
        {{}, {}},
        {list({"/dev/ttyS0", "/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyACM0", "/dev/ttyS10",
               "/dev/ttyS2", "/dev/ttyAMA0", "/dev/ttyUSB0"}),
         list({"/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyAMA0",
               "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"})},
        // Leading zeros and repeated entries.
        {list({"/dev/ttyS010", "/dev/ttyS9", "/dev/ttyS9"}), list({"/dev/ttyS9", "/dev/ttyS010"})},
        // macOS lists each port twice; only the call-out device is usable.
        {list({"/dev/tty.Bluetooth-Incoming-Port", "/dev/cu.Bluetooth-Incoming-Port",
               "/dev/tty.usbserial-A10", "/dev/cu.usbserial-A10", "/dev/cu.usbmodem1421"}),
         list(
             {"/dev/cu.usbmodem1421", "/dev/cu.usbserial-A10", "/dev/cu.Bluetooth-Incoming-Port"})},
        // A tty. port without a cu. twin stays.
        {list({"/dev/tty.usbserial-B2"}), list({"/dev/tty.usbserial-B2"})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(orderSerialPorts(c.system), c.expected) << c.system.join(u' ').toStdString();
    }
}

TEST(SerialPortMap, ComNumberPicksTheConfiguredOrTheNthPort) {
    const QStringList system = list({"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0"});
    const struct {
        int n;
        const char* configured;
        const char* expected;
    } cases[] = {
        {1, "", "/dev/ttyUSB0"},
        {2, "", "/dev/ttyUSB1"},
        {3, "", "/dev/ttyS0"},
        {4, "", ""},
        {16, "", ""},
        {0, "", ""},
        {-1, "", ""},
        {1, "/dev/ttyS0", "/dev/ttyS0"},
        {9, " /dev/serial/by-id/usb-FTDI-if00 ", "/dev/serial/by-id/usb-FTDI-if00"},
        {2, "  ", "/dev/ttyUSB1"},
        {0, "/dev/ttyS0", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(deviceForComPort(c.n, QString::fromLatin1(c.configured), system),
                  QString::fromLatin1(c.expected))
            << c.n << " " << c.configured;
    }
}

TEST(SerialPortMap, ReadsDevicesFromThePortsSection) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("Vantrel.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[Configuration]\r\nCommPort=3\r\nCom4=/dev/wrong-section\r\n"
        "[Ports]\r\nCom1=/dev/ttyUSB0\r\ncom2 = /dev/serial/by-id/usb-FTDI_FT232R-if00\r\n"
        "Com10=/dev/ttyS4\r\nCom5=\r\nCom6=\"/dev/tty USB\"\r\n");
    file.close();
    const struct {
        int n;
        const char* expected;
    } cases[] = {
        {1, "/dev/ttyUSB0"},
        {2, "/dev/serial/by-id/usb-FTDI_FT232R-if00"},
        {10, "/dev/ttyS4"},
        {3, ""},
        {4, ""},
        {5, ""},
        {6, "/dev/tty USB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(configuredDevice(c.n, ini), QString::fromLatin1(c.expected)) << c.n;
    }
    EXPECT_EQ(configuredDevice(1, dir.filePath(QStringLiteral("missing.ini"))), QString());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.ini")))) << "only read";
}

TEST(SerialPortMap, TheIniFileIsNamedAfterTheExecutable) {
    EXPECT_EQ(iniPath(),
              QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel_tests.ini"));
}

TEST(SerialPortMap, DescribesWhatAComNumberStandsFor) {
    const struct {
        int n;
        const char* device;
        bool present;
        const char* detail;
        const char* expected;
    } cases[] = {
        {1, "/dev/ttyUSB0", true, "FTDI USB serial", "Com1 = /dev/ttyUSB0 (FTDI USB serial)"},
        {2, "/dev/ttyS0", true, "", "Com2 = /dev/ttyS0"},
        {4, "/dev/ttyUSB4", false, "", "Com4 = /dev/ttyUSB4 (not present)"},
        {3, "", false, "", "Com3: no such serial port on this system"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(describeComPort(c.n, QString::fromLatin1(c.device), c.present,
                                  QString::fromLatin1(c.detail)),
                  QString::fromLatin1(c.expected));
    }
    // No system numbers two hundred serial ports, and the test program has no
    // Ports entries beside it.
    EXPECT_EQ(describeComPort(200), u"Com200: no such serial port on this system");
}
