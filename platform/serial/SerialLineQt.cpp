#include <termios.h>

#include <QSerialPort>
#include <QSerialPortInfo>
#include <cerrno>

#include "platform/serial/SerialLine.h"

namespace {

// The serial line over an asynchronous QSerialPort on the GUI thread: the
// port's read notifier fills its buffer while the event loop runs.
class SerialLineQt : public SerialLine {
public:
    SerialLineQt() {
        // No limit: bytes that arrive while an event handler runs wait here
        // instead of being dropped by the system's far smaller buffer.
        m_port.setReadBufferSize(0);
        connect(&m_port, &QSerialPort::readyRead, this, &SerialLine::readyRead);
        connect(&m_port, &QSerialPort::bytesWritten, this, &SerialLine::bytesWritten);
        connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLineQt::onErrorOccurred);
    }

    std::optional<OpenFailure> open(const QString& device) override {
        m_port.setPortName(device);
        // The port takes the stored line settings and flow control as it opens.
        if (m_port.open(QIODevice::ReadWrite)) return std::nullopt;
        const QSerialPort::SerialPortError error = m_port.error();
        portFailed();
        return error == QSerialPort::DeviceNotFoundError ? OpenFailure::NotFound
               : error == QSerialPort::PermissionError   ? OpenFailure::Refused
                                                         : OpenFailure::Other;
    }

    void close() override {
        if (m_port.isOpen()) m_port.close();
        m_port.clearError();
    }

    bool setLine(const LineSettings& settings) override {
        // QSerialPort would quietly send one stop bit instead.
        if (settings.stopBits == LineSettings::StopBits::OneAndHalf)
            return fail(QStringLiteral("this system offers no 1.5 stop bits"));
        // All four are attempted, so that a refused one leaves the others set.
        bool ok = m_port.setBaudRate(settings.baud);
        ok = m_port.setParity(parityOf(settings.parity)) && ok;
        ok = m_port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) && ok;
        ok = m_port.setStopBits(settings.stopBits == LineSettings::StopBits::Two
                                    ? QSerialPort::TwoStop
                                    : QSerialPort::OneStop) &&
             ok;
        return ok || portFailed();
    }

    bool setHandshaking(bool xOnXOff, bool rtsCts) override {
        const QSerialPort::FlowControl flow = rtsCts    ? QSerialPort::HardwareControl
                                              : xOnXOff ? QSerialPort::SoftwareControl
                                                        : QSerialPort::NoFlowControl;
        if (!m_port.setFlowControl(flow)) return portFailed();
        // QSerialPort offers one kind of flow control at a time; termios can
        // do both, so XOn/XOff is added by hand.
        if (xOnXOff && rtsCts && m_port.isOpen()) {
            termios settings{};
            const int fd = static_cast<int>(m_port.handle());
            bool ok = ::tcgetattr(fd, &settings) == 0;
            settings.c_iflag |= IXON | IXOFF;
            ok = ok && ::tcsetattr(fd, TCSANOW, &settings) == 0;
            if (!ok) return fail(qt_error_string(errno));
        }
        return true;
    }

    bool setDtr(bool enable) override {
        if (m_port.setDataTerminalReady(enable)) return true;
        if (m_port.error() == QSerialPort::UnsupportedOperationError) {
            m_port.clearError();
            return true;
        }
        return portFailed();
    }

    qint64 bytesAvailable() const override { return m_port.bytesAvailable(); }
    bool getChar(char* byte) override { return m_port.getChar(byte); }
    QByteArray read(qint64 count) override { return m_port.read(count); }
    qint64 bytesToWrite() const override { return m_port.bytesToWrite(); }

    void clear(Direction direction) override {
        m_port.clear(direction == Direction::Input ? QSerialPort::Input : QSerialPort::Output);
    }

    bool write(const QByteArray& data) override {
        if (m_port.write(data) != data.size()) return portFailed();
        // Hand the bytes to the system now: a caller that closes the port
        // right after writing must not lose them.
        m_port.flush();
        return true;
    }

private:
    static QSerialPort::Parity parityOf(LineSettings::Parity parity) {
        switch (parity) {
            case LineSettings::Parity::Even:
                return QSerialPort::EvenParity;
            case LineSettings::Parity::Odd:
                return QSerialPort::OddParity;
            case LineSettings::Parity::Mark:
                return QSerialPort::MarkParity;
            case LineSettings::Parity::Space:
                return QSerialPort::SpaceParity;
            case LineSettings::Parity::None:
                break;
        }
        return QSerialPort::NoParity;
    }

    bool portFailed() {
        fail(m_port.errorString());
        m_port.clearError();
        return false;
    }

    void onErrorOccurred(QSerialPort::SerialPortError error) {
        // Only failures of the device itself matter here; refused settings
        // are reported by the call that made them.
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
            emit failed(Direction::Input);
        else if (error == QSerialPort::WriteError)
            emit failed(Direction::Output);
    }

    QSerialPort m_port;
};

}  // namespace

std::unique_ptr<SerialLine> SerialLine::Create() { return std::make_unique<SerialLineQt>(); }

QList<SerialLine::Port> SerialLine::SystemPorts() {
    QList<Port> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString detail = info.description();
        const QString maker = info.manufacturer();
        if (!maker.isEmpty() && !detail.contains(maker))
            detail = detail.isEmpty() ? maker : maker + u' ' + detail;
        ports.append({info.systemLocation(), info.portName(), detail});
    }
    return ports;
}
