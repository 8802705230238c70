#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/serial/LineSettings.h"
#include "platform/serial/SerialLine.h"

// The main window's serial communications control: one port, opened and
// closed on request, read one character at a time by polling. It runs on the
// GUI thread over the system's serial line (SerialLine), which collects
// incoming bytes while the event loop runs, so a reader that yields between
// reads never blocks and never loses data.
//
// Every operation that cannot be done throws CommError; its description
// names the port (Com<n>), the device and the system's reason.
class CommControl : public QObject {
    Q_OBJECT

public:
    // What the last OnComm was about (the classic control's numbering).
    // The serial lines report neither line errors (break, framing, overrun,
    // parity) nor modem-line changes, so only Send, Receive, RxOver and
    // TxFull are ever raised; the others exist for handlers to compare with.
    enum class Event : std::int16_t {
        None = 0,
        Send = 1,
        Receive = 2,
        CtsChange = 3,
        DsrChange = 4,
        CdChange = 5,
        Ring = 6,
        Eof = 7,
        Break = 1001,
        Frame = 1004,
        Overrun = 1006,
        RxOver = 1008,
        RxParity = 1009,
        TxFull = 1010,
        Dcb = 1011,
    };

    // A parsed settings text such as "9600,N,8,1".
    using LineSettings = ::LineSettings;
    // "baud,parity,data bits,stop bits": baud a positive whole number, parity
    // one of N E O M S (either case), data bits 5 to 8, stop bits 1, 1.5 or 2.
    // Blanks around the parts are allowed. Empty for any other text.
    static std::optional<LineSettings> ParseSettings(const QString& text);

    // Why a port could not be opened: no such device, refused (in use, or
    // not this user's to use), or another reason the system gives.
    using OpenFailure = SerialLine::OpenFailure;
    // The text of a failed open. `accessible` tells whether this user may
    // read and write the device node at all and `group` names the node's
    // group, so that a refused permission can say how it is usually granted
    // (on Windows a refused port is one in use).
    static QString DescribeOpenFailure(int port, const QString& device, OpenFailure failure,
                                       const QString& reason, bool accessible,
                                       const QString& group);

    explicit CommControl(QObject* parent = nullptr);
    ~CommControl() override;

    // Port number n stands for the device SerialPortMap finds for Com<n>.
    // 1 to 255; cannot change while the port is open.
    std::int16_t CommPort() const { return m_commPort; }
    void SetCommPort(std::int16_t port);

    // Makes every Com<n> open this device (a system path such as /dev/pts/3)
    // instead of the mapped one; the empty text restores the mapping. Meant
    // for tests and diagnostics; the program itself never sets it.
    void SetDeviceOverride(const QString& systemLocation) { m_deviceOverride = systemLocation; }

    // True opens the port on the device of CommPort and applies the stored
    // settings; false closes it and releases the device (closing a closed
    // port does nothing). After the device has gone away PortOpen stays true
    // until the caller closes the port.
    bool PortOpen() const { return m_open; }
    void SetPortOpen(bool open);

    // Kept for the next open and applied at once to an open port.
    QString Settings() const { return m_settingsText; }
    void SetSettings(const QString& text);
    // 0 none, 1 XOn/XOff, 2 RTS/CTS, 3 both.
    void SetHandshaking(int mode);
    void SetDTREnable(bool enable);
    // Characters received (sent) before a Receive (Send) OnComm; 0 turns the
    // event off.
    void SetRThreshold(int count);
    void SetSThreshold(int count);

    // Bytes waiting to be read / still to be sent. Setting 0 discards them;
    // other values are refused.
    int InBufferCount() const;
    void SetInBufferCount(int count);
    int OutBufferCount() const;
    void SetOutBufferCount(int count);

    // Queues the bytes and hands as many as the system takes to the device
    // before returning.
    void Output(const QByteArray& data);
    // How many characters one Input() takes at most: 1 as the control is
    // created, 0 for everything that waits.
    int InputLen() const { return m_inputLen; }
    void SetInputLen(int count);
    // Up to InputLen characters (bytes, as Latin-1), the empty text when
    // nothing waits. Never blocks; O(1) per character. Bytes that arrived
    // before the device went away are still delivered, then Input throws.
    QString Input();
    // True when Input() would not return the empty text: a byte waits, or it
    // would throw (port closed or gone). A reader blocks in the event loop
    // only while this is false; a byte arriving wakes the loop.
    bool BytesWaiting() const;

    Event CommEvent() const { return m_event; }

signals:
    void OnComm();
    // Input() has something new to hand over: bytes have come in from the
    // device (whatever the thresholds say), or it has failed and the next
    // read will say so.
    void InputWaiting();

private:
    QString resolveDevice() const;
    QString portLabel() const;
    int checkedThreshold(int count, const char* which) const;
    [[noreturn]] void throwNotOpen(const char* operation) const;
    void applyHandshaking();
    void applyDtr();
    void raise(Event event);
    void onReadyRead();
    void onBytesWritten();
    void onLineFailed(SerialLine::Direction direction);

    std::unique_ptr<SerialLine> m_line;
    std::int16_t m_commPort = 1;
    QString m_deviceOverride;
    QString m_device;
    // The port and device last closed, until the next open.
    QString m_closedLabel;
    QString m_settingsText = QStringLiteral("9600,N,8,1");
    LineSettings m_settings;
    int m_handshaking = 0;
    bool m_dtrEnable = false;
    int m_rThreshold = 0;
    int m_sThreshold = 0;
    // Buffer sizes in bytes, as the control is created. Incoming data beyond
    // the input size raises RxOver but is kept; output queued beyond the
    // output size raises TxFull but is still sent.
    int m_inBufferSize = 16384;
    int m_outBufferSize = 512;
    int m_inputLen = 1;
    bool m_open = false;
    bool m_rxOverRaised = false;
    // Set once the device has failed under an open port: bytes read before
    // the failure wait in m_tail, then Input throws m_failure.
    QString m_failure;
    bool m_portReleased = false;
    QByteArray m_tail;
    qsizetype m_tailPos = 0;
    // Tells a deferred release after a failure whether the port it was meant
    // for is still the one open.
    quint64 m_openCount = 0;
    Event m_event = Event::None;
};
