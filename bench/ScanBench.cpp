#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <thread>

#include "BenchSweep.h"
#include "ScanRig.h"

namespace {

using Clock = std::chrono::steady_clock;
// Message boxes are looked for once a second only, so that the rig costs next
// to nothing while the program waits.
constexpr std::chrono::milliseconds kMessageCheck(1000);

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Processor time (user and system) of a usage record, seconds.
double cpuSeconds(const rusage& usage) {
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The rig's analyzer answering every command as a serial line delivers it:
// a millisecond's worth at a time from a thread of its own, whatever the
// program is doing.
class PacedLine {
public:
    PacedLine(ScanRig& rig, const QByteArray& answer, double charsPerSecond) : m_pty(rig.pty) {
        rig.analyzer.onCommand = [this, answer, charsPerSecond](const QByteArray&) {
            Join();
            m_thread = std::thread([this, answer, rate = charsPerSecond] {
                const auto chunk = qsizetype(std::max(1.0, rate / 1000));
                const auto origin = Clock::now();
                for (qsizetype sent = 0; sent < answer.size(); sent += chunk) {
                    std::this_thread::sleep_until(
                        origin + std::chrono::duration_cast<Clock::duration>(
                                     std::chrono::duration<double>(double(sent) / rate)));
                    if (!m_pty.write(answer.mid(sent, chunk))) return;
                }
                m_lastByte = Clock::now();
            });
        };
    }
    ~PacedLine() { Join(); }
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }
    // When the last byte of the latest answer went to the line; read after Join().
    Clock::time_point LastByteWritten() const { return m_lastByte; }

private:
    PtyPair& m_pty;
    std::thread m_thread;
    Clock::time_point m_lastByte{};
};

// Fails the run unless the scan took in every point without a complaint.
bool scanWasComplete(benchmark::State& state, ScanRig& rig, int points) {
    if (!rig.messages.texts.isEmpty()) {
        state.SkipWithError(
            ("message box: " + rig.messages.texts.join(" / ").toStdString()).c_str());
        return false;
    }
    if (rig.form->NumPoints != points - 1) {
        state.SkipWithError(
            ("scan kept " + std::to_string(rig.form->NumPoints + 1) + " points").c_str());
        return false;
    }
    return true;
}

// Characters per second through the whole scan path (port, line reader,
// field parsing, the points label, the final redraw) when a full sweep
// arrives as fast as the pseudo-terminal carries it.
void BM_ScanThroughput(benchmark::State& state) {
    const Sweep sweep = BenchSweep::Make();
    const QByteArray answer = BenchSweep::Answer(sweep);
    ScanRig rig(answer, kMessageCheck);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        rig.Scan();
        const double s = secondsBetween(start, Clock::now());
        state.SetIterationTime(s);
        seconds += s;
        if (!scanWasComplete(state, rig, int(sweep.points.size()))) return;
    }
    state.counters["answer_bytes"] = double(answer.size());
    state.counters["chars/s"] = double(answer.size()) * double(state.iterations()) / seconds;
}
BENCHMARK(BM_ScanThroughput)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Processor time the program uses while it waits for an analyzer that never
// answers: five seconds of "Waiting", then "Stop Request".
void BM_WaitingCpu(benchmark::State& state) {
    ScanRig rig(QByteArray(), kMessageCheck);
    constexpr auto kWait = std::chrono::milliseconds(5000);
    for (auto _ : state) {
        // A coarse timer may fire up to 5 % late, a quarter of a second in five.
        QTimer::singleShot(kWait, Qt::PreciseTimer, rig.form.ui.btnStopCollectData,
                           [&rig] { rig.form.ui.btnStopCollectData->click(); });
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = Clock::now();
        rig.Scan();
        const double wall = secondsBetween(start, Clock::now());
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const double cpu = cpuSeconds(after) - cpuSeconds(before);
        state.SetIterationTime(wall);
        if (rig.form.ui.LblPoints->text() != QStringLiteral("Aborted") ||
            !rig.messages.texts.isEmpty()) {
            state.SkipWithError("the scan did not end by the stop request");
            return;
        }
        state.counters["cpu_ms"] = cpu * 1e3;
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["ctx_switches"] =
            double((after.ru_nvcsw + after.ru_nivcsw) - (before.ru_nvcsw + before.ru_nivcsw));
    }
}
BENCHMARK(BM_WaitingCpu)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// From the moment the analyzer has written the last byte of a sweep to the
// moment the redrawn graph is complete: how long the user waits after the
// instrument is done. The answer comes paced as on a 115,200-baud line, the
// fastest an analyzer's adapter is likely to run (the ZM-340 itself sends at
// 9600), so the reader meets it as it meets a real line: a few characters
// at a time, not a burst it would have to drain first.
void BM_LastByteToGraph(benchmark::State& state) {
    constexpr double kCharsPerSecond = 115200 / 10.0;
    const Sweep sweep = BenchSweep::Make(int(state.range(0)));
    ScanRig rig(QByteArray(), kMessageCheck);
    PacedLine line(rig, BenchSweep::Answer(sweep), kCharsPerSecond);
    double worst = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        rig.Scan();
        const auto done = Clock::now();
        line.Join();
        if (!scanWasComplete(state, rig, int(sweep.points.size()))) return;
        const double s = secondsBetween(line.LastByteWritten(), done);
        if (line.LastByteWritten() < start) {
            state.SkipWithError("the analyzer never reported its last byte");
            return;
        }
        state.SetIterationTime(s);
        worst = std::max(worst, s);
    }
    state.counters["points"] = double(sweep.points.size());
    state.counters["worst_ms"] = worst * 1e3;
}
// A sweep of the emulator's default 201 points (under half a second on the
// line), and a full one of 16384 (about half a minute).
BENCHMARK(BM_LastByteToGraph)
    ->Arg(201)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_LastByteToGraph)
    ->Arg(BenchSweep::kPoints)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

}  // namespace
