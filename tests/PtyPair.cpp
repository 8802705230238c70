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

using namespace std::chrono;

// Waits until the master can take `events` or the deadline passes.
static bool ready(int fd, short events, steady_clock::time_point deadline) {
    const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
    pollfd waitable{fd, events, 0};
    return fd >= 0 && left > 0 && ::poll(&waitable, 1, static_cast<int>(left)) > 0;
}

PtyPair::PtyPair() {
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B9600);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        ADD_FAILURE() << "openpty failed: " << std::strerror(errno);
        m_master = m_slave = -1;
        return;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    closeMaster();
    closeSlave();
}

bool PtyPair::write(const QByteArray& bytes) {
    const auto deadline = steady_clock::now() + kHangGuard;
    qsizetype done = 0;
    while (done < bytes.size() && ready(m_master, POLLOUT, deadline)) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        done += std::max<ssize_t>(n, 0);
    }
    return done == bytes.size();
}

QByteArray PtyPair::read(int count, milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    QByteArray received;
    while (received.size() < count && ready(m_master, POLLIN, deadline)) {
        char chunk[4096];
        const ssize_t n =
            ::read(m_master, chunk, std::min<size_t>(sizeof chunk, count - received.size()));
        if (n < 0 && errno != EAGAIN && errno != EINTR) break;
        received.append(chunk, std::max<ssize_t>(n, 0));
    }
    return received;
}

void PtyPair::closeSlave() {
    if (m_slave >= 0) ::close(m_slave);
    m_slave = -1;
}

void PtyPair::closeMaster() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
}
