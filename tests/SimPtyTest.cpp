#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The built emulator as a child process; its first output line is the device.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& arguments) {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<std::string> all{VANTREL_BUILD_DIR "/zm340-sim"};
            all.insert(all.end(), arguments.begin(), arguments.end());
            std::vector<char*> argv;
            for (auto& argument : all) argv.push_back(argument.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        stdout_ = out[0];
    }

    ~SimProcess() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0) ::close(stdout_);
    }

    std::string firstLine(int timeoutMs = 2000) {
        std::string line;
        char c = 0;
        while (poll(stdout_, timeoutMs) && ::read(stdout_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    void signal(int number) { ::kill(pid_, number); }

    // Exit status, or -1 if the child neither exits nor is killed within the time.
    int wait(int timeoutMs = 2000) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            ::usleep(10000);
        }
        return -1;
    }

    static bool poll(int fd, int timeoutMs) {
        pollfd readable{fd, POLLIN, 0};
        return ::poll(&readable, 1, timeoutMs) > 0;
    }

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    bool reaped_ = false;
};

// Opens the device the way a serial program would: raw, 8N1, no echo.
int openRaw(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios settings{};
    ::tcgetattr(fd, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

// Everything up to and including `end`, or what came before the time ran out.
std::string readUntil(int fd, const std::string& end, int timeoutMs = 1500) {
    std::string received;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[512];
    while (received.size() < end.size() ||
           received.compare(received.size() - end.size(), end.size(), end) != 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !SimProcess::poll(fd, int(left.count()))) break;
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        received.append(buffer, std::size_t(n));
    }
    return received;
}

std::size_t countLines(const std::string& text) {
    std::size_t count = 0;
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++count;
    return count;
}

}  // namespace

TEST(SimPty, AnswersTheTwentyMetreBand) {
    SimProcess sim({"--fast", "--once", "--points", "57"});
    const std::string device = sim.firstLine();
    ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;
    const int fd = openRaw(device);
    ASSERT_GE(fd, 0) << device;
    ASSERT_EQ(::write(fd, "8\r\n", 3), 3);
    const std::string answer = readUntil(fd, "E\r\n");
    ::close(fd);

    ASSERT_EQ(answer.rfind("S\r\n140000,143500,", 0), 0u) << answer.substr(0, 40);
    ASSERT_EQ(answer.substr(answer.size() - 3), "E\r\n");
    // S, header, the points, E.
    EXPECT_EQ(countLines(answer), 57u + 3u);
    EXPECT_EQ(sim.wait(), 0);
}

TEST(SimPty, LinkFollowsTheDeviceAndGoesOnTermination) {
    const std::string link = ::testing::TempDir() + "zm340-sim-link-" + std::to_string(::getpid());
    SimProcess sim({"--fast", "--link", link, "--points", "3", "--junk", "8\\r\\n"});
    const std::string device = sim.firstLine();
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), device);

    // Line noise before the command is ignored; the echo comes before "S".
    const int fd = openRaw(link);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "AT\r\n\xff:\r\n", 8), 8);
    const std::string answer = readUntil(fd, "E\r\n");
    ::close(fd);
    EXPECT_EQ(answer.rfind("8\r\nS\r\n70000,73000,", 0), 0u) << answer;
    EXPECT_EQ(countLines(answer), 1u + 3u + 3u);

    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait(), 0);
    struct stat gone {};
    EXPECT_NE(::lstat(link.c_str(), &gone), 0);
}

TEST(SimPty, RefusesToReplaceAFileWithTheLink) {
    const std::string path = ::testing::TempDir() + "zm340-sim-file-" + std::to_string(::getpid());
    const int file = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::write(file, "keep", 4), 4);
    ::close(file);
    SimProcess sim({"--link", path});
    EXPECT_EQ(sim.firstLine(), "");
    EXPECT_EQ(sim.wait(), 1);
    struct stat kept {};
    ASSERT_EQ(::lstat(path.c_str(), &kept), 0);
    EXPECT_TRUE(S_ISREG(kept.st_mode));
    EXPECT_EQ(kept.st_size, 4);
    ::unlink(path.c_str());
}

TEST(SimPty, PacesLikeA9600BaudLineAndRestartsOnANewCommand) {
    SimProcess sim({"--points", "20"});
    const int fd = openRaw(sim.firstLine());
    ASSERT_GE(fd, 0);
    const auto start = Clock::now();
    ASSERT_EQ(::write(fd, "8\r\n", 3), 3);
    const std::string first = readUntil(fd, "E\r\n");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ASSERT_EQ(first.substr(first.size() - 3), "E\r\n");
    const double rate = double(first.size()) / seconds;
    // Never faster than the line; slower only if this machine is very busy.
    EXPECT_LT(rate, 1100.0) << first.size() << " bytes in " << seconds << " s";
    EXPECT_GT(rate, 400.0) << first.size() << " bytes in " << seconds << " s";

    // A second command halfway through abandons the first answer.
    ASSERT_EQ(::write(fd, "4\r\n", 3), 3);
    const std::string begun = readUntil(fd, "\r\n1", 1000);
    ASSERT_EQ(::write(fd, "5\r\n", 3), 3);
    const std::string rest = readUntil(fd, "E\r\n");
    ::close(fd);
    EXPECT_EQ(begun.rfind("S\r\n280000,297000,", 0), 0u) << begun;
    EXPECT_NE(rest.find("S\r\n248900,249900,"), std::string::npos) << rest;
    EXPECT_EQ(countLines(begun + rest), 2u + 2u + 20u + 1u + 1u) << begun + rest;
}
