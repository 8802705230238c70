#include "PtyAnalyzer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

PtyAnalyzer::PtyAnalyzer(PtyPair& pty)
    : m_pty(pty),
      m_reader(pty.masterFd(), QSocketNotifier::Read),
      m_writer(pty.masterFd(), QSocketNotifier::Write) {
    ::fcntl(pty.masterFd(), F_SETFL, ::fcntl(pty.masterFd(), F_GETFL) | O_NONBLOCK);
    m_writer.setEnabled(false);
    connect(&m_reader, &QSocketNotifier::activated, this, &PtyAnalyzer::readable);
    connect(&m_writer, &QSocketNotifier::activated, this, &PtyAnalyzer::writable);
}

void PtyAnalyzer::Queue(const QByteArray& bytes) {
    m_pending += bytes;
    m_writer.setEnabled(true);
}

void PtyAnalyzer::readable() {
    char buf[256];
    const ssize_t n = ::read(m_pty.masterFd(), buf, sizeof buf);
    if (n <= 0) return;
    const qsizetype before = received.size();
    received.append(buf, n);
    for (qsizetype i = std::max<qsizetype>(before, 2); i < received.size(); ++i) {
        if (received[i] == '\n' && received[i - 1] == '\r' && onCommand)
            onCommand(received.mid(i - 2, 3));
    }
}

void PtyAnalyzer::writable() {
    if (m_pending.isEmpty()) {
        m_writer.setEnabled(false);
        return;
    }
    const ssize_t n = ::write(m_pty.masterFd(), m_pending.constData(),
                              size_t(std::min<qsizetype>(m_pending.size(), 4096)));
    if (n > 0) m_pending.remove(0, n);
    if (m_pending.isEmpty()) m_writer.setEnabled(false);
}
