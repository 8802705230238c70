#include "cli/StopSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
int wakeFds[2] = {-1, -1};
QSocketNotifier* notifier = nullptr;
volatile std::sig_atomic_t caught = 0;

void onSignal(int signalNumber) {
    if (caught == 0) caught = signalNumber;
    // The next one of this kind is not caught any more.
    std::signal(signalNumber, SIG_DFL);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
}

}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeFds) != 0) return;
    notifier = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
        }
        emit Arrived(caught);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals) sigaction(signalNumber, &action, nullptr);
}

StopSignals::~StopSignals() {
    for (const int signalNumber : kSignals) std::signal(signalNumber, SIG_DFL);
    delete notifier;
    notifier = nullptr;
    for (int& fd : wakeFds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    caught = 0;
}

int StopSignals::Caught() { return caught; }
