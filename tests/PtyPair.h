#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// A pseudo-terminal pair for tests: the slave end stands in for the
// analyzer's serial port (open it by path), the master end is the analyzer
// (write its answer, read what the program sent). Both ends start in raw
// mode, so nothing is echoed or translated. The pair holds its own slave
// descriptor open as well, which keeps the terminal alive between a close
// and a reopen by the code under test; closeMaster() hangs the line up.
class PtyPair {
public:
    // Fails the calling test (gtest ADD_FAILURE) when no pair can be made;
    // isValid() then tells.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return m_master >= 0; }
    const QString& slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    int slaveFd() const { return m_slave; }

    // Writes every byte to the master end (the slave's reader receives it).
    bool write(const QByteArray& bytes);
    // What the slave end sent: reads until `count` bytes have come or the
    // timeout has passed, whichever is first.
    QByteArray read(int count, std::chrono::milliseconds timeout);
    // Everything that arrives until nothing more comes for `quiet`.
    QByteArray readAvailable(std::chrono::milliseconds quiet = std::chrono::milliseconds(50));

    // Closes the master end: the slave side sees a hang-up, as when a USB
    // adapter is unplugged.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
