#include "OrdinaryUser.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

bool OrdinaryUser::runsInChild() { return ::geteuid() == 0; }

bool OrdinaryUser::own(const QString& path) {
    return !runsInChild() || ::lchown(QFile::encodeName(path).constData(), kId, kId) == 0;
}

std::optional<std::string> OrdinaryUser::run(const std::function<std::string()>& body,
                                             std::string* reason) {
    if (!runsInChild()) return body();
    int channel[2];
    if (::pipe(channel) != 0) {
        *reason = "no pipe to a child process";
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        *reason = "cannot start a child process";
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        // The first byte says whether the body ran; the rest is its result.
        std::string message = "!";
        if (::setgroups(0, nullptr) == 0 && ::setgid(kId) == 0 && ::setuid(kId) == 0 &&
            ::geteuid() == kId) {
            message = "=" + body();
        }
        for (std::size_t done = 0; done < message.size();) {
            const ssize_t n = ::write(channel[1], message.data() + done, message.size() - done);
            if (n <= 0) break;
            done += n;
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string message;
    char chunk[4096];
    ssize_t n = 0;
    while ((n = ::read(channel[0], chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0) message.append(chunk, n);
    }
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
