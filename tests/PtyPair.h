#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

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

    // Writes every byte to the master end; false when it cannot within 5 s.
    bool write(const QByteArray& bytes);
    // What the slave end sent: up to `count` bytes, waiting at most `timeout`.
    QByteArray read(int count, std::chrono::milliseconds timeout);
    // The slave side sees a hang-up, as when a USB adapter is unplugged.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
