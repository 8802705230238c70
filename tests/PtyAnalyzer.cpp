#include "PtyAnalyzer.h"

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

PtyAnalyzer::PtyAnalyzer(PtyPair& pty)
    : pty_(pty),
      reader_(pty.masterFd(), QSocketNotifier::Read),
      writer_(pty.masterFd(), QSocketNotifier::Write) {
    ::fcntl(pty.masterFd(), F_SETFL, ::fcntl(pty.masterFd(), F_GETFL) | O_NONBLOCK);
    writer_.setEnabled(false);
    connect(&reader_, &QSocketNotifier::activated, this, &PtyAnalyzer::readable);
    connect(&writer_, &QSocketNotifier::activated, this, &PtyAnalyzer::writable);
}

void PtyAnalyzer::Queue(const QByteArray& bytes) {
    pending_ += bytes;
    writer_.setEnabled(true);
}

void PtyAnalyzer::readable() {
    char buf[256];
    const ssize_t n = ::read(pty_.masterFd(), buf, sizeof buf);
    if (n <= 0) return;
    const qsizetype before = received.size();
    received.append(buf, n);
    for (qsizetype i = std::max<qsizetype>(before, 2); i < received.size(); ++i) {
        if (received[i] == '\n' && received[i - 1] == '\r' && onCommand) onCommand(received.mid(i - 2, 3));
    }
}

void PtyAnalyzer::writable() {
    if (pending_.isEmpty()) {
        writer_.setEnabled(false);
        return;
    }
    const ssize_t n = ::write(pty_.masterFd(), pending_.constData(), size_t(std::min<qsizetype>(pending_.size(), 4096)));
    if (n > 0) pending_.remove(0, n);
    if (pending_.isEmpty()) {
        writer_.setEnabled(false);
        if (n > 0) emit AllWritten();
    }
}
