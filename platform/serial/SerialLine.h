#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "platform/serial/LineSettings.h"

// The device under the serial control: what differs from system to system
// (QSerialPort on Unix, the Win32 comm functions on Windows). The control
// keeps the properties, events, checks and texts; a line only opens a device,
// sets it up, buffers what comes in while the event loop runs and hands
// writes to the system.
//
// Line settings, handshaking and DTR are kept while the line is closed and
// applied as it opens; while it is open they apply at once. A call that
// fails returns false (or the open failure) and leaves the system's reason
// in errorString().
class SerialLine : public QObject {
    Q_OBJECT

public:
    enum class OpenFailure {
        NotFound,  // no such device
        Refused,   // in use by another program, or not this user's to use
        Other,
    };
    enum class Direction { Input, Output };

    // The implementation of this system.
    static std::unique_ptr<SerialLine> Create();

    // A serial port the system lists: its device as the line opens it (a
    // path, or COM<n>), its short name, and what the system says of the
    // adapter (maker, model; may be empty).
    struct Port {
        QString device;
        QString name;
        QString detail;
    };
    static QList<Port> SystemPorts();

    virtual std::optional<OpenFailure> open(const QString& device) = 0;
    // Releases the device; what was received and not read is dropped.
    virtual void close() = 0;

    virtual bool setLine(const LineSettings& settings) = 0;
    virtual bool setHandshaking(bool xOnXOff, bool rtsCts) = 0;
    // Also true where the device has no DTR line (pseudo-terminals, some
    // adapters): the analyzer does not need it.
    virtual bool setDtr(bool enable) = 0;

    // Bytes received and not yet read; reading never waits.
    virtual qint64 bytesAvailable() const = 0;
    virtual bool getChar(char* byte) = 0;
    virtual QByteArray read(qint64 count) = 0;
    // Bytes written and not yet sent.
    virtual qint64 bytesToWrite() const = 0;
    // Drops what waits in one direction, in the system's buffers too.
    virtual void clear(Direction direction) = 0;
    // Hands all of `data` to the system before returning.
    virtual bool write(const QByteArray& data) = 0;

    QString errorString() const { return m_error; }

signals:
    void readyRead();
    void bytesWritten();
    // The device itself has failed (unplugged, hung up) under an open line.
    void failed(Direction direction);

protected:
    bool fail(const QString& reason) {
        m_error = reason;
        return false;
    }

private:
    QString m_error;
};
