#pragma once

#include <QString>
#include <QStringList>

// Which device the port number Com<n> of the port list stands for.
//
// On Windows Com<n> is the system's COM<n>. Elsewhere the INI file beside the
// executable may name the device (section "Ports", key "Com<n>", for example
// Com1=/dev/ttyUSB0); without that key Com<n> is the n-th serial port the
// system lists, USB adapters first. The program only reads the "Ports"
// section; users write it by hand when the automatic numbering does not suit.
// It is read like every setting of the program (IniFile).
namespace SerialPortMap {

// System locations in the order the port numbers follow: USB serial adapters
// (ttyUSB*, then ttyACM*, then macOS usb* ports), then every other port, each
// group in natural order (ttyUSB2 before ttyUSB10). Where macOS lists a port
// both as /dev/cu.X and /dev/tty.X only the cu. one is kept, since opening
// the tty. one waits for a carrier the analyzer never raises.
QStringList orderSerialPorts(const QStringList& systemLocations);

// The device of Com<n>: the configured text (trimmed) when it is not empty,
// otherwise the n-th of the ordered system ports; the empty text when there
// is none (also for n below 1). On Windows always COM<n>.
QString deviceForComPort(int n, const QString& configured, const QStringList& systemPorts);

// The section of the INI file that names devices, and its key for Com<n>:
// "Com" and the number.
inline constexpr char kPortsSection[] = "Ports";
QString portsKey(int n);

// The "Ports" entry for Com<n> in the given INI file, or the empty text.
QString configuredDevice(int n, const QString& iniFile);

// System locations of the serial ports the system lists now.
QStringList systemPorts();

// deviceForComPort with the INI file beside the executable and the system's
// ports of this moment.
QString deviceForComPort(int n);

// One line for the port list's tool tip, such as
// "Com1 = /dev/ttyUSB0 (FTDI USB serial)", "Com2 = /dev/ttyUSB4 (not present)"
// or "Com3: no such serial port on this system". `detail` is the system's
// description of the device and may be empty.
QString describeComPort(int n, const QString& device, bool present, const QString& detail);

// describeComPort for what Com<n> stands for right now.
QString describeComPort(int n);

}  // namespace SerialPortMap
