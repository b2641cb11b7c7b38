// The cost of presenting one slide change in the real window: hand over the next slide's picture
// and pump, which draws its samples and presents. Presents come at most once per refresh, so the
// wall time is the refresh period and the CPU column is the cost. Needs a display (window.sh).
#include <benchmark/benchmark.h>

#include "platforms/sdl/sdl_screen.h"
#include "presentation/form_table.h"
#include "runtime/screen_runtime.h"
#include "runtime/slides.h"

namespace {

class NoForm : public vk::FormEvents {
  void Form_Activate() override {}
  void Picture1_Click() override {}
  void Picture1_DblClick() override {}
  void Picture1_KeyPress(int16_t&) override {}
  void Picture1_MouseMove(int16_t, int16_t, float&, float&) override {}
};

void BM_PresentSlideChange(benchmark::State& state) {
  vk::WindowLayout layout;
  std::string error;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error))
    return state.SkipWithError(error.c_str());
  vk::SlidePictures pictures(layout.holder_jpegs, vk::SlidePictures::kAtOnce);
  vk::SdlScreen screen(layout);
  if (!screen.Open(&error)) return state.SkipWithError(error.c_str());
  vk::ScreenRuntime runtime(screen, pictures, vk::ScreenRuntime::Pacing::kSleeps);
  NoForm form;
  runtime.Run(form);
  int slide = 0;
  for (auto _ : state) {
    slide = (slide + 1) % vk::kHolders;
    runtime.SetPicture(pictures.Get(slide));
    runtime.PumpEvents();
  }
}
BENCHMARK(BM_PresentSlideChange)->Unit(benchmark::kMicrosecond);

}  // namespace
