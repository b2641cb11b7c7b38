// The wait on the clock: a whole playback cycle at the start value k = 1000000 (1000001 count
// steps), to compare with the intended 1000001 × 100 ns; the CPU column is what the wait costs.
#include <benchmark/benchmark.h>

#include <thread>

#include "platforms/headless/headless.h"
#include "player/vorlan_kidney.h"
#include "runtime/timing.h"

namespace {

// The headless runtime with the window's wait: a sleep until the count's deadline.
class SleepingRuntime : public vk::HeadlessRuntime {
 public:
  using HeadlessRuntime::HeadlessRuntime;
  void Count(uint64_t steps) override {
    std::this_thread::sleep_until(vk::CountDeadline(vk::SteadyClock::now(), steps));
  }
};

void BM_CycleAtStartValue(benchmark::State& state) {
  std::vector<vk::PictureRef> holders;
  for (int i = 0; i < 24; ++i) holders.push_back(std::make_shared<vk::Picture>());
  SleepingRuntime runtime(holders);
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
  for (auto _ : state) form.PlaybackCycle();
  state.counters["intended_ms"] = 1000001 * vk::kCountStep.count() / 1e6;
}
BENCHMARK(BM_CycleAtStartValue)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3);

}  // namespace
