// The wait's count on the window's pacing: a whole playback cycle at the start value k = 1000000
// (1000001 count steps), to compare with the intended 1000001 × 100 ns.
#include <benchmark/benchmark.h>

#include "player/vorlan_kidney.h"
#include "platforms/headless/headless.h"
#include "runtime/pacing.h"

namespace {

class PacedRuntime : public vk::HeadlessRuntime {
 public:
  using HeadlessRuntime::HeadlessRuntime;
  void CountStep() override { pacer.Step(); }
  vk::StepPacer pacer;
};

void BM_CycleAtStartValue(benchmark::State& state) {
  std::vector<vk::PictureRef> holders;
  for (int i = 0; i < 24; ++i) holders.push_back(std::make_shared<vk::Picture>());
  PacedRuntime runtime(holders);
  runtime.record_shown = false;
  runtime.pump_limit = 23;
  vk::VorlanKidney form(runtime);
  try {
    runtime.Start(form);
  } catch (const vk::ScriptEnd&) {
  }
  runtime.pump_limit = UINT64_MAX;
  form.n = 1;  // the start values, which the loading sequence's end would have given
  form.k = 1000000;
  runtime.pacer.Calibrate();
  for (auto _ : state) form.PlaybackCycle();
  const double intended_ms = 1000001 * vk::kCountStep.count() / 1e6;
  state.counters["intended_ms"] = intended_ms;
}
BENCHMARK(BM_CycleAtStartValue)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3);

void BM_Calibrate(benchmark::State& state) {
  for (auto _ : state) {
    vk::StepPacer pacer;
    pacer.Calibrate();
    benchmark::DoNotOptimize(pacer.pauses_per_step());
  }
}
BENCHMARK(BM_Calibrate)->Unit(benchmark::kMillisecond);

}  // namespace
