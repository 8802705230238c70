#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "PtyPair.h"
#include "SimProcess.h"

namespace {

// Everything up to and including the first `end`, or what came before the
// line fell silent for kHangGuard or closed.
std::string readUntil(int fd, const std::string& end) {
    std::string received;
    pollfd readable{fd, POLLIN, 0};
    char buffer[4096];
    while (received.find(end) == std::string::npos &&
           ::poll(&readable, 1, int(kHangGuard.count())) > 0) {
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        received.append(buffer, std::size_t(n));
    }
    return received;
}

}  // namespace

TEST(SimPty, AnswersTheTwentyMetreBandWithMorePointsThanTheReceiverHolds) {
    SimProcess sim({"--fast", "--once", "--points", "20000"});
    // The emulator makes the terminal raw itself; a client need not.
    const int fd = ::open(qPrintable(sim.device), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "8\r\n", 3), 3);
    const std::string answer = readUntil(fd, "E\r\n");
    ::close(fd);
    EXPECT_EQ(answer.rfind("S\r\n140000,143500,", 0), 0u) << answer.substr(0, 40);
    EXPECT_EQ(std::count(answer.begin(), answer.end(), '\n'), 1 + 1 + 20000 + 1);
    EXPECT_EQ(sim.ExitCode(), 0);
}

TEST(SimPty, LinkReplacesAStaleOneFollowsTheDeviceAndGoesOnTermination) {
    const std::string link = ::testing::TempDir() + "zm340-sim-link-" + std::to_string(::getpid());
    ::unlink(link.c_str());
    ASSERT_EQ(::symlink("/dev/left-by-a-killed-run", link.c_str()), 0);
    {
        SimProcess sim({"--link", QString::fromStdString(link)});
        char target[256] = {};
        ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(QString::fromLocal8Bit(target), sim.device);
        sim.process.terminate();
        EXPECT_EQ(sim.ExitCode(), 0);
    }
    struct stat file {};
    EXPECT_NE(::lstat(link.c_str(), &file), 0);

    // Anything but a symbolic link is left alone.
    const int fd = ::open(link.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(::write(fd, "keep", 4), 4);
    ::close(fd);
    SimProcess refused({"--link", QString::fromStdString(link)});
    EXPECT_EQ(refused.ExitCode(), 1);
    EXPECT_TRUE(::lstat(link.c_str(), &file) == 0 && S_ISREG(file.st_mode) && file.st_size == 4);
    ::unlink(link.c_str());
}
