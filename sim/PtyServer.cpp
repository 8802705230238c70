#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Small pieces keep the byte rate even, like a UART, rather than bursty.
constexpr std::size_t kPacedChunk = 8;
constexpr int kPollMs = 100;

bool failWithErrno(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

bool stopRequested(const volatile std::sig_atomic_t* stop) { return stop && *stop != 0; }

}  // namespace

PtyServer::~PtyServer() {
    removeLink();
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
}

bool PtyServer::open(std::string* error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) return failWithErrno(error, "posix_openpt");
    if (::grantpt(m_master) != 0) return failWithErrno(error, "grantpt");
    if (::unlockpt(m_master) != 0) return failWithErrno(error, "unlockpt");
    char name[256] = {};
    if (::ptsname_r(m_master, name, sizeof name) != 0) return failWithErrno(error, "ptsname_r");
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) return failWithErrno(error, "open " + m_slavePath);

    // Raw: no echo, no CR/LF translation, no line buffering, in either direction.
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0) return failWithErrno(error, "tcgetattr");
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0) return failWithErrno(error, "tcsetattr");

    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        return failWithErrno(error, "fcntl");
    }
    return true;
}

bool PtyServer::createLink(const std::string& path, std::string* error) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            if (error) *error = path + " exists and is not a symbolic link; not replacing it";
            return false;
        }
        if (::unlink(path.c_str()) != 0) return failWithErrno(error, "unlink " + path);
    }
    if (::symlink(m_slavePath.c_str(), path.c_str()) != 0) {
        return failWithErrno(error, "symlink " + path);
    }
    m_linkPath = path;
    return true;
}

void PtyServer::removeLink() {
    if (m_linkPath.empty()) return;
    // Only our own link: another emulator may have taken the name over since.
    std::vector<char> target(m_slavePath.size() + 2);
    const auto length = ::readlink(m_linkPath.c_str(), target.data(), target.size());
    if (length >= 0 && std::string(target.data(), std::size_t(length)) == m_slavePath) {
        ::unlink(m_linkPath.c_str());
    }
    m_linkPath.clear();
}

bool PtyServer::readCommand(std::optional<int>& latest, std::string* error) {
    char buffer[256];
    for (;;) {
        const auto n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            const auto codes = m_scanner.feed(std::string_view(buffer, std::size_t(n)));
            if (!codes.empty()) latest = codes.back();
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        if (n == 0) return true;
        return failWithErrno(error, "read " + m_slavePath);
    }
}

PtyServer::WriteOutcome PtyServer::writeAnswer(const std::string& bytes,
                                               const ServeOptions& options,
                                               const volatile std::sig_atomic_t* stop,
                                               std::optional<int>& interrupt, std::string* error) {
    const bool paced = options.charsPerSecond > 0;
    const auto secondsPerChar =
        std::chrono::duration<double>(paced ? 1.0 / options.charsPerSecond : 0);
    auto origin = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (stopRequested(stop)) return WriteOutcome::Stopped;
        if (!readCommand(interrupt, error)) return WriteOutcome::Failed;
        if (interrupt) return WriteOutcome::Interrupted;

        std::size_t chunk = bytes.size() - sent;
        if (paced) {
            chunk = std::min(chunk, kPacedChunk);
            const auto due =
                origin + std::chrono::duration_cast<Clock::duration>(secondsPerChar * double(sent));
            const auto now = Clock::now();
            if (now < due) {
                std::this_thread::sleep_until(due);
            } else if (now - due > std::chrono::milliseconds(50)) {
                // The reader stalled (a full buffer); resume at the line rate
                // instead of catching up in a burst no UART could send.
                origin = now -
                         std::chrono::duration_cast<Clock::duration>(secondsPerChar * double(sent));
            }
        }
        const auto n = ::write(m_master, bytes.data() + sent, chunk);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd writable{m_master, POLLOUT, 0};
            ::poll(&writable, 1, 50);
            continue;
        }
        failWithErrno(error, "write " + m_slavePath);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Done;
}

void PtyServer::waitUntilRead(const volatile std::sig_atomic_t* stop) const {
    // Closing the master hangs the device up and may discard what the client
    // has not read yet, so linger until its input queue is empty, twice in a
    // row because the kernel moves written bytes into it asynchronously.
    constexpr auto kGiveUpAfter = std::chrono::seconds(3);
    int lastPending = -1;
    int emptyChecks = 0;
    auto lastProgress = Clock::now();
    while (!stopRequested(stop) && emptyChecks < 2) {
        int pending = 0;
        if (::ioctl(m_slave, FIONREAD, &pending) != 0) return;
        emptyChecks = pending == 0 ? emptyChecks + 1 : 0;
        if (pending != lastPending) lastProgress = Clock::now();
        if (Clock::now() - lastProgress > kGiveUpAfter) return;
        lastPending = pending;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool PtyServer::serve(const Responder& responder, const ServeOptions& options,
                      const volatile std::sig_atomic_t* stop, std::string* error) {
    std::optional<int> command;
    while (!stopRequested(stop)) {
        if (!command) {
            pollfd readable{m_master, POLLIN, 0};
            const int ready = ::poll(&readable, 1, kPollMs);
            if (ready < 0 && errno != EINTR) return failWithErrno(error, "poll");
            if (ready > 0 && !readCommand(command, error)) return false;
            continue;
        }
        const int bandCode = *command;
        command.reset();
        switch (writeAnswer(responder(bandCode), options, stop, command, error)) {
            case WriteOutcome::Failed:
                return false;
            case WriteOutcome::Stopped:
                return true;
            case WriteOutcome::Interrupted:
                break;
            case WriteOutcome::Done:
                if (options.once) {
                    waitUntilRead(stop);
                    return true;
                }
                break;
        }
    }
    return true;
}
