#include "cli/ReplayLine.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <cstring>

#include "cli/NumberText.h"
#include "link/WireFormat.h"

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
    // A command is the band byte and its end.
    const QByteArray commandEnd(WireFormat::kCommandEnd.data(),
                                qsizetype(WireFormat::kCommandEnd.size()));
    for (qsizetype end; (end = m_received.indexOf(commandEnd)) >= 0;) {
        if (end >= 1) {
            m_asked = true;
            m_pending += m_answer;
            m_writer->setEnabled(true);
        }
        m_received.remove(0, end + commandEnd.size());
    }
}

void ReplayLine::writable() {
    const ssize_t n =
        ::write(m_master, m_pending.constData(), size_t(std::min(m_pending.size(), kChunk)));
    if (n > 0) m_pending.remove(0, n);
    if (m_pending.isEmpty()) m_writer->setEnabled(false);
}

QByteArray ReplayLine::AnswerFor(const SweepRecord& record) {
    std::string text;
    const auto addLine = [&text](std::string_view fields) {
        text += fields;
        text += WireFormat::kLineBreak;
    };
    const double start = record.startHz.value_or(0) / 100;
    const double end = record.endHz.value_or(0) / 100;
    const std::size_t n = record.points.size();
    std::array<std::string, WireFormat::kHeaderFields> header;
    header[WireFormat::kHeaderStart] = NumberText::Shortest(start);
    header[WireFormat::kHeaderEnd] = NumberText::Shortest(end);
    header[WireFormat::kHeaderStep] =
        NumberText::Shortest(n > 1 ? (end - start) / double(n - 1) : 0);
    addLine(WireFormat::kStartMarker);
    addLine(WireFormat::JoinFields(header));
    for (const SweepRecord::Point& p : record.points) {
        const double values[] = {p.swr, p.rOhm, p.xOhm};  // in the order of the quantities
        static_assert(std::size(values) == kQuantities.size());
        std::array<std::string, WireFormat::kPointFields.size()> fields;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i] = NumberText::Shortest(values[std::size_t(WireFormat::kPointFields[i])]);
        }
        addLine(WireFormat::JoinFields(fields));
    }
    addLine(WireFormat::kEndMarker);
    return QByteArray::fromStdString(text);
}
