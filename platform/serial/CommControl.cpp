#include "platform/serial/CommControl.h"

#include <QFileInfo>
#include <algorithm>
#include <array>

#include "platform/profile/IniFile.h"
#include "platform/serial/CommError.h"
#include "platform/serial/SerialPortMap.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The value a settings part names, from a small table of spellings.
template <typename T>
std::optional<T> lookup(const QString& part,
                        std::initializer_list<std::pair<const char16_t*, T>> table) {
    for (const auto& [spelling, value] : table) {
        if (part == QStringView(spelling)) return value;
    }
    return std::nullopt;
}

// Input() hands out one of these shared texts, so the per-character read
// allocates nothing.
const std::array<QString, 256>& singleCharacters() {
    static const std::array<QString, 256> table = [] {
        std::array<QString, 256> texts;
        for (int code = 0; code < 256; ++code) texts[code] = QString(QChar(code));
        return texts;
    }();
    return table;
}

QString characterText(char byte) { return singleCharacters()[static_cast<unsigned char>(byte)]; }

QString hintForMissingPort(int port) {
#ifdef Q_OS_WIN
    Q_UNUSED(port);
    return {};
#else
    return QStringLiteral(
               " To use a device that is not numbered automatically, name it in %1, "
               "section [Ports], for example Com%2=/dev/ttyUSB0.")
        .arg(IniFile::ProgramFile())
        .arg(port);
#endif
}

}  // namespace

std::optional<CommControl::LineSettings> CommControl::ParseSettings(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4) return std::nullopt;
    LineSettings settings;

    const QString baud = parts[0].trimmed();
    bool ok = false;
    settings.baud = baud.toInt(&ok);
    if (!ok || settings.baud <= 0 || !baud.front().isDigit()) return std::nullopt;

    using Parity = LineSettings::Parity;
    using StopBits = LineSettings::StopBits;
    const auto parity = lookup<Parity>(parts[1].trimmed().toUpper(), {{u"N", Parity::None},
                                                                      {u"E", Parity::Even},
                                                                      {u"O", Parity::Odd},
                                                                      {u"M", Parity::Mark},
                                                                      {u"S", Parity::Space}});
    const auto dataBits =
        lookup<int>(parts[2].trimmed(), {{u"5", 5}, {u"6", 6}, {u"7", 7}, {u"8", 8}});
    const auto stopBits = lookup<StopBits>(
        parts[3].trimmed(),
        {{u"1", StopBits::One}, {u"1.5", StopBits::OneAndHalf}, {u"2", StopBits::Two}});
    if (!parity || !dataBits || !stopBits) return std::nullopt;
    settings.parity = *parity;
    settings.dataBits = *dataBits;
    settings.stopBits = *stopBits;
    return settings;
}

QString CommControl::DescribeOpenFailure(int port, const QString& device, OpenFailure failure,
                                         const QString& reason, bool accessible,
                                         const QString& group) {
    QString text = QStringLiteral("Cannot open Com%1 (%2): %3.").arg(port).arg(device, reason);
    if (failure == OpenFailure::NotFound) {
        text += QStringLiteral(" Is the analyzer's serial adapter plugged in?");
    } else if (failure == OpenFailure::Refused) {
#ifdef Q_OS_WIN
        Q_UNUSED(accessible);
        Q_UNUSED(group);
        text += QStringLiteral(" The port is in use by another program; close that program first.");
#else
        if (accessible) {
            text +=
                QStringLiteral(" The port is in use by another program; close that program first.");
        } else if (!group.isEmpty() && group != u"root") {
            text += QStringLiteral(
                        " Your user account may not use the device, which belongs to the group "
                        "\"%1\". Add your account to that group (for example: sudo usermod -aG "
                        "%1 $USER), then log out and log in again.")
                        .arg(group);
        } else {
            text += QStringLiteral(
                " Your user account may not use the device; ask the administrator for read "
                "and write access to it.");
        }
#endif
    }
    return text;
}

CommControl::CommControl(QObject* parent) : QObject(parent), m_line(SerialLine::Create()) {
    singleCharacters();
    m_line->setLine(m_settings);
    connect(m_line.get(), &SerialLine::readyRead, this, &CommControl::onReadyRead);
    connect(m_line.get(), &SerialLine::bytesWritten, this, &CommControl::onBytesWritten);
    connect(m_line.get(), &SerialLine::failed, this, &CommControl::onLineFailed);
}

CommControl::~CommControl() = default;

void CommControl::SetCommPort(std::int16_t port) {
    if (port < 1 || port > 255) {
        throw CommError(CommError::InvalidPortNumber,
                        QStringLiteral("Invalid port number %1: use 1 to 255.").arg(port));
    }
    if (m_open) {
        throw CommError(
            CommError::PortAlreadyOpen,
            QStringLiteral("Cannot choose Com%1 while %2 is open.").arg(port).arg(portLabel()));
    }
    if (port != m_commPort) m_device.clear();
    m_commPort = port;
}

QString CommControl::resolveDevice() const {
    return m_deviceOverride.isEmpty() ? SerialPortMap::deviceForComPort(m_commPort)
                                      : m_deviceOverride;
}

QString CommControl::portLabel() const {
    const QString port = QStringLiteral("Com%1").arg(m_commPort);
    return m_device.isEmpty() ? port : port + QStringLiteral(" (") + m_device + u')';
}

void CommControl::throwNotOpen(const char* operation) const {
    // A caller still at work on a port that was closed under it (another
    // port chosen meanwhile) learns which port that was.
    const QString text = m_closedLabel.isEmpty()
                             ? QStringLiteral("Cannot %1 %2: the port is not open.")
                                   .arg(QLatin1String(operation), portLabel())
                             : QStringLiteral("Cannot %1 %2: the port has been closed.")
                                   .arg(QLatin1String(operation), m_closedLabel);
    throw CommError(CommError::PortNotOpen, text);
}

void CommControl::SetPortOpen(bool open) {
    if (!open) {
        if (!m_open) return;
        m_closedLabel = portLabel();
        m_line->close();
        m_open = false;
        m_failure.clear();
        m_portReleased = false;
        m_tail.clear();
        m_tailPos = 0;
        return;
    }
    if (m_open) {
        throw CommError(CommError::PortAlreadyOpen,
                        QStringLiteral("%1 is already open.").arg(portLabel()));
    }
    const QString device = resolveDevice();
    if (device.isEmpty()) {
        m_device.clear();
        throw CommError(CommError::PortUnavailable,
                        QStringLiteral("Cannot open Com%1: no such serial port on this system.")
                                .arg(m_commPort) +
                            hintForMissingPort(m_commPort));
    }
    m_device = device;
    // The line takes the stored line settings and handshaking as it opens.
    if (const std::optional<OpenFailure> failure = m_line->open(device)) {
        const QFileInfo node(device);
        bool accessible = true;
#ifdef Q_OS_UNIX
        const QByteArray path = QFile::encodeName(device);
        accessible = ::access(path.constData(), R_OK | W_OK) == 0;
#endif
        throw CommError(CommError::PortUnavailable,
                        DescribeOpenFailure(m_commPort, device, *failure, m_line->errorString(),
                                            accessible, node.group()));
    }
    m_open = true;
    m_closedLabel.clear();
    ++m_openCount;
    m_failure.clear();
    m_portReleased = false;
    m_rxOverRaised = false;
    try {
        applyHandshaking();
        applyDtr();
    } catch (...) {
        SetPortOpen(false);
        throw;
    }
}

void CommControl::SetSettings(const QString& text) {
    const std::optional<LineSettings> parsed = ParseSettings(text);
    if (!parsed) {
        throw CommError(CommError::InvalidPropertyValue,
                        QStringLiteral("Invalid line settings \"%1\" for %2: expected baud, "
                                       "parity, data bits and stop bits such as 9600,N,8,1.")
                            .arg(text, portLabel()));
    }
    if (!m_line->setLine(*parsed)) {
        const QString reason = m_line->errorString();
        m_line->setLine(m_settings);
        throw CommError(CommError::SetCommStateFailed,
                        QStringLiteral("Cannot set %1 to %2: %3.").arg(portLabel(), text, reason));
    }
    m_settings = *parsed;
    m_settingsText = text;
}

void CommControl::SetHandshaking(int mode) {
    if (mode < 0 || mode > 3) {
        throw CommError(CommError::InvalidPropertyValue,
                        QStringLiteral("Invalid handshaking %1 for %2: use 0 (none), 1 (XOn/XOff), "
                                       "2 (RTS/CTS) or 3 (both).")
                            .arg(mode)
                            .arg(portLabel()));
    }
    const int previous = m_handshaking;
    m_handshaking = mode;
    try {
        applyHandshaking();
    } catch (...) {
        m_handshaking = previous;
        throw;
    }
}

void CommControl::applyHandshaking() {
    // 1 XOn/XOff, 2 RTS/CTS, 3 both.
    if (!m_line->setHandshaking((m_handshaking & 1) != 0, (m_handshaking & 2) != 0)) {
        throw CommError(CommError::SetCommStateFailed,
                        QStringLiteral("Cannot set the handshaking of %1: %2.")
                            .arg(portLabel(), m_line->errorString()));
    }
}

void CommControl::SetDTREnable(bool enable) {
    m_dtrEnable = enable;
    if (m_open) applyDtr();
}

void CommControl::applyDtr() {
    if (m_portReleased || m_line->setDtr(m_dtrEnable)) return;
    throw CommError(
        CommError::SetCommStateFailed,
        QStringLiteral("Cannot set DTR on %1: %2.").arg(portLabel(), m_line->errorString()));
}

// Thresholds count characters; 0 turns their event off.
int CommControl::checkedThreshold(int count, const char* which) const {
    if (count < 0) {
        throw CommError(CommError::InvalidPropertyValue,
                        QStringLiteral("Invalid %1 threshold %2 for %3.")
                            .arg(QLatin1String(which))
                            .arg(count)
                            .arg(portLabel()));
    }
    return count;
}

void CommControl::SetRThreshold(int count) { m_rThreshold = checkedThreshold(count, "receive"); }

void CommControl::SetSThreshold(int count) { m_sThreshold = checkedThreshold(count, "send"); }

int CommControl::InBufferCount() const {
    if (!m_open) return 0;
    if (m_portReleased) return static_cast<int>(m_tail.size() - m_tailPos);
    return static_cast<int>(m_line->bytesAvailable());
}

void CommControl::SetInBufferCount(int count) {
    if (count != 0) {
        throw CommError(
            CommError::InvalidPropertyValue,
            QStringLiteral("The input buffer of %1 can only be emptied (count 0), not set "
                           "to %2.")
                .arg(portLabel())
                .arg(count));
    }
    if (!m_open) throwNotOpen("empty the input buffer of");
    if (!m_portReleased) m_line->clear(SerialLine::Direction::Input);
    m_tail.clear();
    m_tailPos = 0;
    m_rxOverRaised = false;
}

int CommControl::OutBufferCount() const {
    return m_open && !m_portReleased ? static_cast<int>(m_line->bytesToWrite()) : 0;
}

void CommControl::SetOutBufferCount(int count) {
    if (count != 0) {
        throw CommError(CommError::InvalidPropertyValue,
                        QStringLiteral("The output buffer of %1 can only be emptied (count 0), not "
                                       "set to %2.")
                            .arg(portLabel())
                            .arg(count));
    }
    if (!m_open) throwNotOpen("empty the output buffer of");
    if (!m_portReleased) m_line->clear(SerialLine::Direction::Output);
}

void CommControl::Output(const QByteArray& data) {
    if (!m_open) throwNotOpen("write to");
    if (!m_failure.isEmpty()) throw CommError(CommError::WriteFailed, m_failure);
    const bool written = m_line->write(data);
    // A device that failed under the write says so in the control's words.
    if (!m_failure.isEmpty()) throw CommError(CommError::WriteFailed, m_failure);
    if (!written) {
        throw CommError(
            CommError::WriteFailed,
            QStringLiteral("Cannot write to %1: %2.").arg(portLabel(), m_line->errorString()));
    }
    if (m_line->bytesToWrite() > m_outBufferSize) raise(Event::TxFull);
}

void CommControl::SetInputLen(int count) {
    if (count < 0) {
        throw CommError(CommError::InvalidPropertyValue,
                        QStringLiteral("Invalid input length %1 for %2: use 0 (everything that "
                                       "waits) or more.")
                            .arg(count)
                            .arg(portLabel()));
    }
    m_inputLen = count;
}

QString CommControl::Input() {
    if (!m_open) throwNotOpen("read from");
    if (m_inputLen == 1) {
        char byte = 0;
        if (!m_portReleased) {
            if (m_line->getChar(&byte)) return characterText(byte);
        } else if (m_tailPos < m_tail.size()) {
            return characterText(m_tail.at(m_tailPos++));
        }
    } else {
        const qint64 waiting =
            m_portReleased ? m_tail.size() - m_tailPos : m_line->bytesAvailable();
        const qint64 count = m_inputLen == 0 ? waiting : std::min<qint64>(waiting, m_inputLen);
        if (count > 0) {
            if (!m_portReleased) return QString::fromLatin1(m_line->read(count));
            const QString text = QString::fromLatin1(m_tail.mid(m_tailPos, count));
            m_tailPos += count;
            return text;
        }
    }
    if (!m_failure.isEmpty()) throw CommError(CommError::ReadFailed, m_failure);
    return {};
}

bool CommControl::BytesWaiting() const {
    if (!m_open || !m_failure.isEmpty()) return true;
    return m_line->bytesAvailable() > 0;
}

void CommControl::raise(Event event) {
    m_event = event;
    emit OnComm();
}

void CommControl::onReadyRead() {
    const qint64 waiting = m_line->bytesAvailable();
    if (waiting <= m_inBufferSize) {
        m_rxOverRaised = false;
    } else if (!m_rxOverRaised) {
        m_rxOverRaised = true;
        raise(Event::RxOver);
    }
    if (m_open && m_rThreshold > 0 && waiting >= m_rThreshold) raise(Event::Receive);
    emit InputWaiting();
}

void CommControl::onBytesWritten() {
    if (m_open && m_sThreshold > 0 && m_line->bytesToWrite() < m_sThreshold) raise(Event::Send);
}

void CommControl::onLineFailed(SerialLine::Direction direction) {
    if (!m_open || !m_failure.isEmpty()) return;
    // The system's own text for a hung-up device misleads (on Unix a read of
    // nothing comes with whatever errno an earlier call left over), so the
    // description says what happened instead.
    m_failure = QStringLiteral("Cannot %1 %2: the device has gone away (unplugged or hung up).")
                    .arg(direction == SerialLine::Direction::Output ? QStringLiteral("write to")
                                                                    : QStringLiteral("read from"),
                         portLabel());
    // Release the device once the port's own notification has returned
    // (closing inside it is not safe), keeping what was already received.
    const quint64 openCount = m_openCount;
    QMetaObject::invokeMethod(
        this,
        [this, openCount] {
            if (!m_open || m_openCount != openCount || m_portReleased) return;
            m_tail = m_line->read(m_line->bytesAvailable());
            m_tailPos = 0;
            m_line->close();
            m_portReleased = true;
        },
        Qt::QueuedConnection);
    emit InputWaiting();
}
