#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QLabel>

#include "BenchSweep.h"
#include "ScanRig.h"

namespace {

using Clock = ScanRig::Clock;
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
        rig.StopAfter(kWait);
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
    ScanRig rig(BenchSweep::Answer(sweep), kMessageCheck);
    rig.PaceAt(kCharsPerSecond);
    double worst = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        rig.Scan();
        const auto done = Clock::now();
        if (!scanWasComplete(state, rig, int(sweep.points.size()))) return;
        const double s = secondsBetween(rig.LastByteWritten(), done);
        if (rig.LastByteWritten() < start) {
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
