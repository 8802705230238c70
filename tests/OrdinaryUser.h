#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

// Tests of permissions that root ignores run their body as an ordinary user:
// the test process itself when it is not root, otherwise a child process
// that has switched to the unprivileged user and group 65534 ("nobody").
class OrdinaryUser {
public:
    static constexpr unsigned kId = 65534;

    // Gives `path` to the user who runs the bodies (nothing to do unless root).
    static bool own(const QString& path);
    // Runs `body`, which returns what went wrong (empty for nothing). Empty
    // when this system cannot run it as an ordinary user; `reason` says why.
    static std::optional<std::string> run(const std::function<std::string()>& body,
                                          std::string* reason);
};
