#include "cli/ReplayLine.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "cli/NumberText.h"

namespace {
constexpr qsizetype kChunk = 4096;
}  // namespace

ReplayLine::ReplayLine(QByteArray answer, QObject* parent)
    : QObject(parent), m_answer(std::move(answer)) {
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B9600);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_error = QStringLiteral("cannot make a pseudo-terminal: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        m_master = m_slave = -1;
        return;
    }
    for (const int fd : {m_master, m_slave}) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_path = QString::fromLocal8Bit(name);
    m_reader = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    m_writer = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writer->setEnabled(false);
    connect(m_reader, &QSocketNotifier::activated, this, &ReplayLine::readable);
    connect(m_writer, &QSocketNotifier::activated, this, &ReplayLine::writable);
}

ReplayLine::~ReplayLine() {
    delete m_reader;
    delete m_writer;
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
}

bool ReplayLine::RanOut() const {
    if (!m_asked || !m_pending.isEmpty()) return false;
    pollfd line{m_slave, POLLIN, 0};
    return ::poll(&line, 1, 0) == 0;
}

void ReplayLine::readable() {
    char bytes[256];
    const ssize_t n = ::read(m_master, bytes, sizeof bytes);
    if (n <= 0) return;
    m_received.append(bytes, n);
    // A command is three bytes ending in CR LF.
    for (qsizetype end; (end = m_received.indexOf("\r\n")) >= 0;) {
        if (end >= 1) {
            m_asked = true;
            m_pending += m_answer;
            m_writer->setEnabled(true);
        }
        m_received.remove(0, end + 2);
    }
}

void ReplayLine::writable() {
    const ssize_t n =
        ::write(m_master, m_pending.constData(), size_t(std::min(m_pending.size(), kChunk)));
    if (n > 0) m_pending.remove(0, n);
    if (m_pending.isEmpty()) m_writer->setEnabled(false);
}

QByteArray ReplayLine::AnswerFor(const SweepRecord& record) {
    const double start = record.startHz.value_or(0) / 100;
    const double end = record.endHz.value_or(0) / 100;
    const std::size_t n = record.points.size();
    const double step = n > 1 ? (end - start) / double(n - 1) : 0;
    std::string text = "S\r\n" + NumberText::Shortest(start) + ',' + NumberText::Shortest(end) +
                       ',' + NumberText::Shortest(step) + "\r\n";
    for (const SweepRecord::Point& p : record.points) {
        text += NumberText::Shortest(p.swr) + ',' + NumberText::Shortest(p.rOhm) + ',' +
                NumberText::Shortest(p.xOhm) + "\r\n";
    }
    return QByteArray::fromStdString(text + "E\r\n");
}
