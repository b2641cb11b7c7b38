// One playback cycle with k = 0 on the headless runtime: six tests, the show, one empty pump.
#include <benchmark/benchmark.h>

#include "platforms/headless/headless.h"
#include "player/vorlan_kidney.h"

namespace {

void BM_PlaybackCycle(benchmark::State& state) {
  std::vector<vk::PictureRef> holders;
  for (int i = 0; i < 24; ++i) holders.push_back(std::make_shared<vk::Picture>());
  vk::HeadlessRuntime runtime(holders);
  runtime.record_shown = false;
  runtime.pumps.resize(23);
  runtime.pump_limit = 23;
  vk::VorlanKidney form(runtime);
  try {
    runtime.Start(form);  // loads the slides, then ends at the last loading pump
  } catch (const vk::ScriptEnd&) {
  }
  runtime.pump_limit = UINT64_MAX;
  form.n = 1;
  form.k = 0;
  for (auto _ : state) form.PlaybackCycle();
  benchmark::DoNotOptimize(runtime.count_steps);
}
BENCHMARK(BM_PlaybackCycle);

}  // namespace
