#include <benchmark/benchmark.h>

#include "BenchSweep.h"
#include "ScanRig.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

namespace {

// Choosing "ALL" in the display list redraws frame, grid, scales and all
// three traces of a full sweep; the time includes stroking whatever drawing
// was still pending, so it is what a user waits for before the graph shows.
void BM_RedrawGraph(benchmark::State& state) {
    const Sweep sweep = BenchSweep::Make();
    ScanRig rig(BenchSweep::Answer(sweep));
    rig.Scan();
    LoadedForm& form = rig.form;
    if (form->NumPoints != std::int16_t(sweep.points.size() - 1)) {
        state.SkipWithError("the sweep did not arrive whole");
        return;
    }
    for (auto _ : state) {
        form.ui.MnComboDisplay->SetListIndex(0);
        benchmark::DoNotOptimize(form.ui.grphSWRDisplay->Image().constBits());
    }
    state.counters["points"] = double(sweep.points.size());
    state.counters["segments/s"] =
        benchmark::Counter(3.0 * double(sweep.points.size() - 1) * double(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RedrawGraph)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
