#include <benchmark/benchmark.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <thread>

#include "BenchSweep.h"
#include "PtyAnalyzer.h"

namespace {

using Clock = std::chrono::steady_clock;

// The tool measured: the one built here, or another build of it named in
// VANTREL_SCAN_UNDER_TEST, so that two versions can be measured in one run.
QString toolUnderTest() {
    const QString other = qEnvironmentVariable("VANTREL_SCAN_UNDER_TEST");
    return other.isEmpty() ? QStringLiteral(VANTREL_SCAN_BINARY) : other;
}

// Processor time a running process has used so far, over all its threads,
// seconds: the first field of each thread's schedstat, in nanoseconds
// (finer than the 10 ms ticks of stat).
double processCpuSeconds(qint64 pid) {
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    double nanoseconds = 0;
    for (const QString& task : QDir(tasks).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + u'/' + task + QStringLiteral("/schedstat"));
        if (schedstat.open(QIODevice::ReadOnly))
            nanoseconds += schedstat.readAll().split(' ').value(0).toDouble();
    }
    return nanoseconds / 1e9;
}

// What vantrel-scan itself uses while it waits for an analyzer that never
// answers: its processor time over ten seconds of "Waiting" (after it has
// sent the command, so start-up is not counted), then Ctrl-C.
void BM_ToolWaitingCpu(benchmark::State& state) {
    constexpr auto kWait = std::chrono::seconds(10);
    for (auto _ : state) {
        PtyPair pty;
        QProcess tool;
        tool.start(toolUnderTest(), {"--port", pty.slavePath(), "--timeout", "0"});
        if (!tool.waitForStarted() || pty.read(3, std::chrono::seconds(30)).size() != 3) {
            state.SkipWithError("the tool sent no command");
            return;
        }
        const double before = processCpuSeconds(tool.processId());
        const auto start = Clock::now();
        std::this_thread::sleep_for(kWait);
        const double cpu = processCpuSeconds(tool.processId()) - before;
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        ::kill(pid_t(tool.processId()), SIGINT);
        tool.waitForFinished();
        if (tool.exitCode() != 130) {
            state.SkipWithError("the tool did not end by Ctrl-C");
            return;
        }
        state.SetIterationTime(wall);
        state.counters["cpu_ms"] = cpu * 1e3;
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_ToolWaitingCpu)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// A full 16384-point answer as fast as the pseudo-terminal carries it, timed
// as a user of the tool waits for it: from the moment the tool's command
// reaches the analyzer to the tool's exit, with the sweep kept as CSV and
// PNG and the summary printed. chars/s divides the answer's bytes by that
// time. (How fast the analyzer's side hands the bytes to the line says
// nothing about the tool: the serial port takes them into an unbounded
// buffer.)
void BM_ToolThroughput(benchmark::State& state) {
    const QByteArray answer = BenchSweep::Answer(BenchSweep::Make());
    const QString folder = QStringLiteral("/tmp/vantrel-tool-bench-%1").arg(::getpid());
    double seconds = 0;
    for (auto _ : state) {
        PtyPair pty;
        PtyAnalyzer analyzer(pty);
        Clock::time_point asked;
        analyzer.onCommand = [&](const QByteArray&) {
            asked = Clock::now();
            analyzer.Queue(answer);
        };
        QProcess tool;
        QEventLoop loop;
        QObject::connect(&tool, &QProcess::finished, &loop, &QEventLoop::quit);
        tool.start(toolUnderTest(), {"--port", pty.slavePath(), "--csv", folder + ".csv", "--png",
                                     folder + ".png", "--json"});
        if (tool.waitForStarted() && tool.state() != QProcess::NotRunning) loop.exec();
        const auto done = Clock::now();
        if (tool.exitCode() != 0 || !tool.readAllStandardOutput().contains("\"points\": 16384")) {
            state.SkipWithError(("the sweep was not complete: " + tool.readAllStandardError())
                                    .toStdString()
                                    .c_str());
            return;
        }
        const double s = std::chrono::duration<double>(done - asked).count();
        state.SetIterationTime(s);
        seconds += s;
    }
    QFile::remove(folder + ".csv");
    QFile::remove(folder + ".png");
    state.counters["answer_bytes"] = double(answer.size());
    state.counters["chars/s"] = double(answer.size()) * double(state.iterations()) / seconds;
}
BENCHMARK(BM_ToolThroughput)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
