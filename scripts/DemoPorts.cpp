// Points a copy of the program at the emulator: in the settings file beside
// PROGRAM, Com1 stands for DEVICE and Com1 is the chosen port, so that the
// window starts on the emulator's line whatever an earlier run chose. It
// writes with the program's own settings code, so the file reads back
// exactly as the program reads it.
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "platform/serial/SerialPortMap.h"
#include "settings/CSetting.h"
#include "settings/PortSetting.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM DEVICE\n", argv[0]);
        return 2;
    }
    const QFileInfo program(QString::fromLocal8Bit(argv[1]));
    const QString device = QString::fromLocal8Bit(argv[2]);
    constexpr std::int16_t kPort = 1;
    CSetting setting;
    setting.Init(program.absolutePath(), program.completeBaseName(), 1);
    setting.SaveSettingStr(QString::fromLatin1(SerialPortMap::kPortsSection),
                           SerialPortMap::portsKey(kPort), device);
    setting.SaveSettingInt(QString::fromLatin1(PortSetting::kSection),
                           QString::fromLatin1(PortSetting::kKey), kPort);
    // The program reports no failed write; here it matters.
    if (SerialPortMap::configuredDevice(kPort, setting.iniFilePath()) != device ||
        setting.GetSettingInt(QString::fromLatin1(PortSetting::kSection),
                              QString::fromLatin1(PortSetting::kKey), 0) != kPort) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0],
                     qPrintable(setting.iniFilePath()));
        return 1;
    }
    return 0;
}
