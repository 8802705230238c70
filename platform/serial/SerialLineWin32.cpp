#include <windows.h>

#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/serial/SerialLine.h"

namespace {

// How often an open line looks for what has come in. At 9600 baud that is
// about ten characters a look, far below any system's input buffer.
constexpr int kPollMilliseconds = 10;

// The system's description of an error code, as one clause for the control's
// texts (no line break, no final full stop).
QString systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = QString::fromWCharArray(text, int(length)).trimmed();
    ::LocalFree(text);
    if (message.endsWith(u'.')) message.chop(1);
    return message.isEmpty() ? QStringLiteral("system error %1").arg(error) : message;
}

// The serial line over the Win32 comm functions, without overlapped I/O or
// comm events (which some drivers, and Wine on a pseudo-terminal, do not
// carry): reads return at once with what the system holds, and a short
// timer, running only while the line is open, moves that into the line's own
// buffer. The timer also wakes an event loop that sleeps while the line is
// quiet, as the scan's line reader does.
class SerialLineWin32 : public SerialLine {
public:
    SerialLineWin32() {
        m_poll.setInterval(kPollMilliseconds);
        connect(&m_poll, &QTimer::timeout, this, &SerialLineWin32::poll);
    }
    ~SerialLineWin32() override { close(); }

    std::optional<OpenFailure> open(const QString& device) override {
        // COM10 and above are reached only through the device namespace.
        const QString path =
            device.startsWith(QLatin1String("\\\\")) ? device : QStringLiteral("\\\\.\\") + device;
        m_handle =
            ::CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                          nullptr, OPEN_EXISTING, 0, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            fail(systemMessage(error));
            switch (error) {
                case ERROR_FILE_NOT_FOUND:
                case ERROR_PATH_NOT_FOUND:
                    return OpenFailure::NotFound;
                case ERROR_ACCESS_DENIED:
                case ERROR_SHARING_VIOLATION:
                    return OpenFailure::Refused;
                default:
                    return OpenFailure::Other;
            }
        }
        // Reads return at once with whatever the system holds, even nothing.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        const bool ready =
            (::SetCommTimeouts(m_handle, &timeouts) || fail(systemMessage(::GetLastError()))) &&
            apply();
        if (!ready) {
            close();
            return OpenFailure::Other;
        }
        ::PurgeComm(m_handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
        m_poll.start();
        return std::nullopt;
    }

    void close() override {
        m_poll.stop();
        if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        m_input.clear();
        m_readPos = 0;
    }

    bool setLine(const LineSettings& settings) override {
        return keepOrApply(m_settings, settings);
    }

    bool setHandshaking(bool xOnXOff, bool rtsCts) override {
        return keepOrApply(m_handshaking, Handshaking{xOnXOff, rtsCts});
    }

    bool setDtr(bool enable) override { return keepOrApply(m_dtr, enable); }

    qint64 bytesAvailable() const override { return m_input.size() - m_readPos; }

    bool getChar(char* byte) override {
        if (m_readPos >= m_input.size()) return false;
        *byte = m_input.at(m_readPos++);
        return true;
    }

    QByteArray read(qint64 count) override {
        const QByteArray bytes = m_input.mid(m_readPos, count);
        m_readPos += bytes.size();
        return bytes;
    }

    qint64 bytesToWrite() const override {
        COMSTAT status{};
        DWORD errors = 0;
        return isOpen() && ::ClearCommError(m_handle, &errors, &status) ? status.cbOutQue : 0;
    }

    void clear(Direction direction) override {
        if (direction == Direction::Input) {
            m_input.clear();
            m_readPos = 0;
        }
        if (isOpen()) {
            ::PurgeComm(m_handle, direction == Direction::Input ? PURGE_RXABORT | PURGE_RXCLEAR
                                                                : PURGE_TXABORT | PURGE_TXCLEAR);
        }
    }

    bool write(const QByteArray& data) override {
        DWORD written = 0;
        if (!::WriteFile(m_handle, data.constData(), DWORD(data.size()), &written, nullptr)) {
            fail(systemMessage(::GetLastError()));
            emit failed(Direction::Output);
            return false;
        }
        if (written != DWORD(data.size())) {
            return fail(QStringLiteral("only %1 of %2 bytes went out in time")
                            .arg(written)
                            .arg(data.size()));
        }
        emit bytesWritten();
        return true;
    }

private:
    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    struct Handshaking {
        bool xOnXOff = false;
        bool rtsCts = false;
    };

    // Keeps a setting for the next open, or applies it now; a refused one is
    // not kept.
    template <typename T>
    bool keepOrApply(T& kept, const T& wanted) {
        const T previous = kept;
        kept = wanted;
        if (!isOpen() || apply()) return true;
        kept = previous;
        return false;
    }

    // Every setting in one device control block.
    bool apply() {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(m_handle, &dcb)) return fail(systemMessage(::GetLastError()));
        dcb.BaudRate = DWORD(m_settings.baud);
        dcb.ByteSize = BYTE(m_settings.dataBits);
        dcb.Parity = parityOf(m_settings.parity);
        dcb.StopBits = m_settings.stopBits == LineSettings::StopBits::One   ? ONESTOPBIT
                       : m_settings.stopBits == LineSettings::StopBits::Two ? TWOSTOPBITS
                                                                            : ONE5STOPBITS;
        dcb.fBinary = TRUE;
        dcb.fParity = m_settings.parity != LineSettings::Parity::None;
        // RTS stays low, as the classic control leaves it, unless it carries
        // the handshake.
        dcb.fOutxCtsFlow = m_handshaking.rtsCts;
        dcb.fRtsControl = m_handshaking.rtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_DISABLE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fDtrControl = m_dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
        dcb.fOutX = m_handshaking.xOnXOff;
        dcb.fInX = m_handshaking.xOnXOff;
        dcb.fNull = FALSE;
        // A line error must not stop the reads: the scan reads on with
        // whatever characters arrive.
        dcb.fAbortOnError = FALSE;
        if (!::SetCommState(m_handle, &dcb)) return fail(systemMessage(::GetLastError()));
        return applyWriteTimeout();
    }

    // A write that the device does not take within twice the time its bytes
    // need on the line, plus a second, fails rather than freezing the window
    // (a handshake that never releases the line).
    bool applyWriteTimeout() {
        constexpr DWORD bitsPerByte = 12;  // start, 8 data, parity, 2 stop at most
        COMMTIMEOUTS timeouts{};
        if (!::GetCommTimeouts(m_handle, &timeouts)) return fail(systemMessage(::GetLastError()));
        timeouts.WriteTotalTimeoutMultiplier =
            std::max<DWORD>(1, 2 * bitsPerByte * 1000 / DWORD(m_settings.baud) + 1);
        timeouts.WriteTotalTimeoutConstant = 1000;
        return ::SetCommTimeouts(m_handle, &timeouts) || fail(systemMessage(::GetLastError()));
    }

    static BYTE parityOf(LineSettings::Parity parity) {
        switch (parity) {
            case LineSettings::Parity::Even:
                return EVENPARITY;
            case LineSettings::Parity::Odd:
                return ODDPARITY;
            case LineSettings::Parity::Mark:
                return MARKPARITY;
            case LineSettings::Parity::Space:
                return SPACEPARITY;
            case LineSettings::Parity::None:
                break;
        }
        return NOPARITY;
    }

    void poll() {
        // What has been read goes once the reader is past half of it.
        if (m_readPos > 0 && m_readPos * 2 >= m_input.size()) {
            m_input.remove(0, m_readPos);
            m_readPos = 0;
        }
        const qsizetype before = m_input.size();
        char chunk[4096];
        DWORD got = 0;
        do {
            if (!::ReadFile(m_handle, chunk, sizeof chunk, &got, nullptr)) {
                fail(systemMessage(::GetLastError()));
                m_poll.stop();
                emit failed(Direction::Input);
                return;
            }
            m_input.append(chunk, got);
        } while (got == sizeof chunk);
        if (m_input.size() > before) emit readyRead();
    }

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    QTimer m_poll;
    LineSettings m_settings;
    Handshaking m_handshaking;
    bool m_dtr = false;
    // Received bytes; those before m_readPos have been read.
    QByteArray m_input;
    qsizetype m_readPos = 0;
};

}  // namespace

std::unique_ptr<SerialLine> SerialLine::Create() { return std::make_unique<SerialLineWin32>(); }

QList<SerialLine::Port> SerialLine::SystemPorts() {
    // Every device name the system knows; the serial ports among them are
    // COM<n>. Windows names no maker here.
    std::vector<wchar_t> names(4096);
    while (::QueryDosDeviceW(nullptr, names.data(), DWORD(names.size())) == 0) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        names.resize(names.size() * 2);
    }
    static const QRegularExpression comPort(QStringLiteral("^COM[1-9][0-9]*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QList<Port> ports;
    for (const wchar_t* name = names.data(); *name != 0; name += std::wcslen(name) + 1) {
        const QString text = QString::fromWCharArray(name).toUpper();
        if (comPort.match(text).hasMatch()) ports.append({text, text, QString()});
    }
    return ports;
}
