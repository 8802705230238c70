#include "OrdinaryUser.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>

bool OrdinaryUser::own(const QString& path) {
    return ::geteuid() != 0 || ::lchown(QFile::encodeName(path).constData(), kId, kId) == 0;
}

std::optional<std::string> OrdinaryUser::run(const std::function<std::string()>& body,
                                             std::string* reason) {
    if (::geteuid() != 0) return body();
    int channel[2];
    if (::pipe(channel) != 0) {
        *reason = "no pipe to a child process";
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // The first byte says whether the body ran; the rest is its result.
        std::string message = "!";
        if (::setgroups(0, nullptr) == 0 && ::setgid(kId) == 0 && ::setuid(kId) == 0 &&
            ::geteuid() == kId) {
            message = "=" + body();
        }
        QFile out;
        if (out.open(channel[1], QIODevice::WriteOnly | QIODevice::Unbuffered))
            out.write(message.data(), static_cast<qint64>(message.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    if (child < 0) {
        ::close(channel[0]);
        *reason = "cannot start a child process";
        return std::nullopt;
    }
    QFile in;
    const std::string message =
        in.open(channel[0], QIODevice::ReadOnly) ? in.readAll().toStdString() : "";
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || message.empty()) return "the child running as user 65534 died";
    if (message[0] != '=') {
        *reason = "this system does not let root become user 65534";
        return std::nullopt;
    }
    return message.substr(1);
}
