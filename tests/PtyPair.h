#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// How long a test waits for what must come (bytes on the line, a process's
// first line) before it gives up. Not a limit on speed: only a broken build
// ever reaches it, a busy machine does not come near it.
inline constexpr std::chrono::milliseconds kHangGuard(60000);

// A pseudo-terminal pair for tests: the slave end stands in for the
// analyzer's serial port (open it by path), the master end is the analyzer.
// Both ends are raw, so nothing is echoed or translated. The pair keeps its
// own slave descriptor open, which keeps the terminal alive between a close
// and a reopen by the code under test.
class PtyPair {
public:
    // Fails the calling test when no pair can be made; isValid() then tells.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return m_master >= 0; }
    const QString& slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    int slaveFd() const { return m_slave; }

    // Writes every byte to the master end; false when the line takes none for kHangGuard.
    bool write(const QByteArray& bytes);
    // What the slave end sent: up to `count` bytes, waiting at most `timeout`.
    QByteArray read(int count, std::chrono::milliseconds timeout);
    // The slave side sees a hang-up, as when a USB adapter is unplugged.
    void closeMaster();
    // Leaves the terminal to whoever else has it open: once they close it
    // too, reading the master fails with EIO.
    void closeSlave();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
