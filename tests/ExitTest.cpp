#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <cerrno>

#include "PtyPair.h"

namespace {

struct ExitRun {
    QByteArray output;
    int exitCode = -1;
    bool portReleased = false;  // the line hung up: no one holds the terminal
};

// Plays the analyzer for the child until the child has gone, however long a
// busy machine makes it take: it waits for the command, then sends the header
// and a point at a time until the child ends. Only a child that hangs is
// given up, after half of kHangGuard so that all three fit in the suite's
// time-out, and then says where it hung.
ExitRun runChild(const char* how) {
    ExitRun run;
    PtyPair pty;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(VANTREL_EXIT_CHILD), {pty.slavePath(), QString::fromLatin1(how)});
    if (!child.waitForStarted(-1)) return run;
    const auto giveUp = std::chrono::steady_clock::now() + kHangGuard / 2;
    // Waiting for the child also notices when it has ended.
    const auto running = [&] {
        child.waitForFinished(1);
        return child.state() == QProcess::Running && std::chrono::steady_clock::now() < giveUp;
    };

    QByteArray command;
    while (command.size() < 3 && running())
        command += pty.read(3 - int(command.size()), std::chrono::milliseconds(50));
    pty.closeSlave();  // from now on only the child holds the terminal open
    const QByteArray header = "S\r\n140000,143500,35\r\n";
    [[maybe_unused]] ssize_t written = ::write(pty.masterFd(), header.constData(), header.size());
    for (int i = 0; running(); ++i) {
        const QByteArray point = "1.5,50," + QByteArray::number(i) + "\r\n";
        written = ::write(pty.masterFd(), point.constData(), size_t(point.size()));
        child.waitForReadyRead(20);
        run.output += child.readAllStandardOutput();
    }
    if (child.state() == QProcess::Running) {
        QFile wchan(QStringLiteral("/proc/%1/wchan").arg(child.processId()));
        wchan.open(QIODevice::ReadOnly);
        run.output += "hung after " + command + " came, in " + wchan.readAll();
        child.kill();
    }
    child.waitForFinished(-1);
    run.output += child.readAllStandardOutput();
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    char c;
    run.portReleased = ::read(pty.masterFd(), &c, 1) < 0 && errno == EIO;
    return run;
}

}  // namespace

TEST(Exit, EveryWayOutEndsAScanAtOnce) {
    for (const char* how : {"button", "menu", "close"}) {
        const ExitRun run = runChild(how);
        EXPECT_TRUE(run.output.contains("exiting")) << how << ": " << run.output.constData();
        EXPECT_FALSE(run.output.contains("handler went on")) << how;
        EXPECT_FALSE(run.output.contains("scan ended")) << how;
        EXPECT_FALSE(run.output.contains("atexit ran")) << how;
        EXPECT_EQ(run.exitCode, 0) << how;
        EXPECT_TRUE(run.portReleased) << how;
    }
}
