#include "PtyPair.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

using Clock = std::chrono::steady_clock;

PtyPair::PtyPair() {
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        ADD_FAILURE() << "openpty failed: " << std::strerror(errno);
        m_master = m_slave = -1;
        return;
    }
    // The master is read with poll() and a deadline, never blocking.
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    closeMaster();
    if (m_slave >= 0) ::close(m_slave);
}

bool PtyPair::write(const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (left > 0 && m_master >= 0) {
        const ssize_t done = ::write(m_master, data, static_cast<size_t>(left));
        if (done > 0) {
            data += done;
            left -= done;
        } else if (done < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (Clock::now() > deadline) {
            return false;  // nobody drains the slave side
        } else {
            pollfd waitable{m_master, POLLOUT, 0};
            ::poll(&waitable, 1, 10);
        }
    }
    return left == 0;
}

QByteArray PtyPair::read(int count, std::chrono::milliseconds timeout) {
    QByteArray received;
    const auto deadline = Clock::now() + timeout;
    while (received.size() < count && m_master >= 0) {
        char chunk[4096];
        const ssize_t got =
            ::read(m_master, chunk, std::min<size_t>(sizeof chunk, count - received.size()));
        if (got > 0) {
            received.append(chunk, got);
            continue;
        }
        if (got < 0 && errno != EAGAIN && errno != EINTR) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd readable{m_master, POLLIN, 0};
        ::poll(&readable, 1, static_cast<int>(left.count()));
    }
    return received;
}

QByteArray PtyPair::readAvailable(std::chrono::milliseconds quiet) {
    QByteArray received;
    for (;;) {
        const QByteArray more = read(1 << 20, quiet);
        if (more.isEmpty()) return received;
        received += more;
    }
}

void PtyPair::closeMaster() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
}
