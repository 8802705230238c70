#include "platform/serial/SerialPortMap.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

#include "platform/profile/IniFile.h"
#include "platform/profile/ProfileFunctions.h"
#include "platform/serial/SerialLine.h"

namespace SerialPortMap {
namespace {

QString baseName(const QString& location) { return location.mid(location.lastIndexOf(u'/') + 1); }

int groupOf(const QString& location) {
    const QString name = baseName(location);
    if (name.startsWith(u"ttyUSB")) return 0;
    if (name.startsWith(u"ttyACM")) return 1;
    if (name.startsWith(u"cu.usb") || name.startsWith(u"tty.usb")) return 2;
    return 3;
}

// Compares runs of digits by their value, so that ttyUSB2 sorts before
// ttyUSB10; everything else compares character by character.
bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype iEnd = i;
            qsizetype jEnd = j;
            while (iEnd < a.size() && a[iEnd].isDigit()) ++iEnd;
            while (jEnd < b.size() && b[jEnd].isDigit()) ++jEnd;
            qsizetype iSig = i;
            qsizetype jSig = j;
            while (iSig + 1 < iEnd && a[iSig] == u'0') ++iSig;
            while (jSig + 1 < jEnd && b[jSig] == u'0') ++jSig;
            const qsizetype iLen = iEnd - iSig;
            const qsizetype jLen = jEnd - jSig;
            if (iLen != jLen) return iLen < jLen;
            const int cmp = QStringView(a).mid(iSig, iLen).compare(QStringView(b).mid(jSig, jLen));
            if (cmp != 0) return cmp < 0;
            i = iEnd;
            j = jEnd;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
    return a < b;  // equal by value ("ttyS01" and "ttyS1"): any fixed order
}

}  // namespace

QStringList orderSerialPorts(const QStringList& systemLocations) {
    QSet<QString> callOuts;
    for (const QString& location : systemLocations) {
        if (baseName(location).startsWith(u"cu.")) callOuts.insert(baseName(location).mid(3));
    }
    QStringList ports;
    for (const QString& location : systemLocations) {
        const QString name = baseName(location);
        if (name.startsWith(u"tty.") && callOuts.contains(name.mid(4))) continue;
        if (!ports.contains(location)) ports.append(location);
    }
    std::sort(ports.begin(), ports.end(), [](const QString& a, const QString& b) {
        const int ga = groupOf(a);
        const int gb = groupOf(b);
        return ga != gb ? ga < gb : naturalLess(a, b);
    });
    return ports;
}

QString deviceForComPort(int n, const QString& configured, const QStringList& systemPorts) {
    if (n < 1) return {};
#ifdef Q_OS_WIN
    Q_UNUSED(configured);
    Q_UNUSED(systemPorts);
    return QStringLiteral("COM%1").arg(n);
#else
    const QString named = configured.trimmed();
    if (!named.isEmpty()) return named;
    const QStringList ordered = orderSerialPorts(systemPorts);
    return n <= ordered.size() ? ordered.at(n - 1) : QString();
#endif
}

QString portsKey(int n) { return QStringLiteral("Com%1").arg(n); }

QString configuredDevice(int n, const QString& iniFile) {
    // A device path longer than this is not a device path.
    char buffer[1024] = {};
    const std::uint32_t length = ProfileFunctions::GetPrivateProfileString(
        kPortsSection, IniFile::Bytes(portsKey(n)).constData(), "", buffer, sizeof buffer,
        IniFile::FileName(iniFile).constData());
    return IniFile::Text(QByteArray(buffer, static_cast<qsizetype>(length))).trimmed();
}

QStringList systemPorts() {
    QStringList locations;
    for (const SerialLine::Port& port : SerialLine::SystemPorts()) locations.append(port.device);
    return locations;
}

QString deviceForComPort(int n) {
#ifdef Q_OS_WIN
    return deviceForComPort(n, QString(), QStringList());
#else
    return deviceForComPort(n, configuredDevice(n, IniFile::ProgramFile()), systemPorts());
#endif
}

QString describeComPort(int n, const QString& device, bool present, const QString& detail) {
    const QString port = portsKey(n);
    if (device.isEmpty()) return port + QStringLiteral(": no such serial port on this system");
    QString text = port + QStringLiteral(" = ") + device;
    if (!present) return text + QStringLiteral(" (not present)");
    if (!detail.isEmpty()) text += QStringLiteral(" (") + detail + u')';
    return text;
}

QString describeComPort(int n) {
    const QString device = deviceForComPort(n);
    if (device.isEmpty()) return describeComPort(n, device, false, QString());
    // The system's list knows the adapter's maker; a configured device it
    // does not list may still exist (a pty, a renamed node).
    for (const SerialLine::Port& port : SerialLine::SystemPorts()) {
        if (port.device == device || port.name == device)
            return describeComPort(n, device, true, port.detail);
    }
    return describeComPort(n, device, QFileInfo::exists(device), QString());
}

}  // namespace SerialPortMap
