#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <algorithm>
#include <string>

#include "PtyPair.h"

namespace {

// Everything up to and including `end`, or what came before the line fell
// silent for kHangGuard or closed.
std::string readUntil(int fd, const std::string& end) {
    std::string received;
    pollfd readable{fd, POLLIN, 0};
    char buffer[4096];
    while ((received.size() < end.size() ||
            received.compare(received.size() - end.size(), end.size(), end) != 0) &&
           ::poll(&readable, 1, int(kHangGuard.count())) > 0) {
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        received.append(buffer, std::size_t(n));
    }
    return received;
}

// Starts the built emulator and returns its first line, the device path.
std::string startSim(QProcess& sim, const QStringList& arguments) {
    sim.start(QStringLiteral(VANTREL_SIM), arguments);
    while (!sim.canReadLine() && sim.waitForReadyRead(int(kHangGuard.count()))) {
    }
    return sim.readLine().trimmed().toStdString();
}

// The exit status once the emulator has ended by itself; -1 if it still runs or crashed.
int exitCode(QProcess& sim) {
    sim.waitForFinished(int(kHangGuard.count()));
    const bool ended =
        sim.state() == QProcess::NotRunning && sim.exitStatus() == QProcess::NormalExit;
    return ended ? sim.exitCode() : -1;
}

}  // namespace

TEST(SimPty, AnswersTheTwentyMetreBandWithMorePointsThanTheReceiverHolds) {
    QProcess sim;
    // The emulator makes the terminal raw itself; a client need not.
    const int fd =
        ::open(startSim(sim, {"--fast", "--once", "--points", "20000"}).c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "8\r\n", 3), 3);
    const std::string answer = readUntil(fd, "E\r\n");
    ::close(fd);
    EXPECT_EQ(answer.rfind("S\r\n140000,143500,", 0), 0u) << answer.substr(0, 40);
    EXPECT_EQ(std::count(answer.begin(), answer.end(), '\n'), 1 + 1 + 20000 + 1);
    EXPECT_EQ(exitCode(sim), 0);
}

TEST(SimPty, LinkReplacesAStaleOneFollowsTheDeviceAndGoesOnTermination) {
    const std::string link = ::testing::TempDir() + "zm340-sim-link-" + std::to_string(::getpid());
    ::unlink(link.c_str());
    ASSERT_EQ(::symlink("/dev/left-by-a-killed-run", link.c_str()), 0);
    QProcess sim;
    const std::string device = startSim(sim, {"--link", QString::fromStdString(link)});
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(target, device);
    sim.terminate();
    EXPECT_EQ(exitCode(sim), 0);
    struct stat file {};
    EXPECT_NE(::lstat(link.c_str(), &file), 0);

    // Anything but a symbolic link is left alone.
    const int fd = ::open(link.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(::write(fd, "keep", 4), 4);
    ::close(fd);
    startSim(sim, {"--link", QString::fromStdString(link)});
    EXPECT_EQ(exitCode(sim), 1);
    EXPECT_TRUE(::lstat(link.c_str(), &file) == 0 && S_ISREG(file.st_mode) && file.st_size == 4);
    ::unlink(link.c_str());
}
