#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/serial/SerialPortMap.h"

using namespace SerialPortMap;

TEST(SerialPortMap, NumbersUsbAdaptersFirstInNaturalOrder) {
    const std::pair<QStringList, QStringList> cases[] = {
        {{"/dev/ttyS0", "/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyACM0", "/dev/ttyS10",
          "/dev/ttyS2", "/dev/ttyAMA0", "/dev/ttyUSB0"},
         {"/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyAMA0",
          "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}},
        // Leading zeros and repeated entries.
        {{"/dev/ttyS010", "/dev/ttyS9", "/dev/ttyS9"}, {"/dev/ttyS9", "/dev/ttyS010"}},
        // macOS lists each port twice; only the call-out device is usable. A
        // tty. port without a cu. twin stays.
        {{"/dev/tty.Bluetooth-Incoming-Port", "/dev/cu.Bluetooth-Incoming-Port",
          "/dev/tty.usbserial-A10", "/dev/cu.usbserial-A10", "/dev/cu.usbmodem1421",
          "/dev/tty.usbserial-B2"},
         {"/dev/cu.usbmodem1421", "/dev/cu.usbserial-A10", "/dev/tty.usbserial-B2",
          "/dev/cu.Bluetooth-Incoming-Port"}},
    };
    for (const auto& [system, expected] : cases) {
        EXPECT_EQ(orderSerialPorts(system), expected) << system.join(u' ').toStdString();
    }
}

// Com<n> is the INI file's "Ports" entry when there is one, else the n-th
// system port in that order.
TEST(SerialPortMap, ComNumberPicksThePortsEntryOrTheNthPort) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Vantrel.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[Configuration]\r\nCommPort=3\r\nCom3=/dev/wrong-section\r\n"
        "[Ports]\r\nCom1=/dev/ttyACM7\r\ncom10 = /dev/serial/by-id/usb-FTDI-if00 \r\n"
        "Com2=\r\nCom6=\"/dev/tty USB\"\r\nCom0=/dev/ttyS1\r\n");
    file.close();
    const QStringList system = {"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0"};
    const std::pair<int, const char*> cases[] = {
        {1, "/dev/ttyACM7"},
        {2, "/dev/ttyUSB1"},
        {3, "/dev/ttyS0"},
        {4, ""},
        {10, "/dev/serial/by-id/usb-FTDI-if00"},
        {6, "/dev/tty USB"},
        {0, ""},
        {-1, ""},
    };
    for (const auto& [n, expected] : cases) {
        EXPECT_EQ(deviceForComPort(n, configuredDevice(n, ini), system), QLatin1String(expected))
            << n;
    }
    const QString missing = dir.filePath(QStringLiteral("missing.ini"));
    EXPECT_EQ(configuredDevice(1, missing), QString());
    EXPECT_FALSE(QFile::exists(missing)) << "the INI file is only read";
}
