// The player's page: builds the window from the description embedded in the program and starts
// the frames, each of which runs the screen runtime's frame. The page keeps running after main
// returns.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

#include "platforms/web/page_library.h"
#include "platforms/web/web_screen.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"
#include "runtime/screen_runtime.h"

namespace {

vk::WindowLayout layout;
vk::WebScreen screen(layout);
vk::ScreenRuntime runtime(screen, screen, vk::ScreenRuntime::Pacing::kFrames);
vk::VorlanKidney form(runtime);

// One animation frame at the time the browser gives it; false once the player has ended.
EM_BOOL Frame(double time_ms, void*) {
  // The moment the frame stands for, on the steady clock, not the moment it runs.
  const auto late = std::chrono::duration<double, std::milli>(emscripten_get_now() - time_ms);
  const auto frame =
      vk::SteadyClock::now() - std::chrono::duration_cast<vk::SteadyClock::duration>(late);
  return runtime.RunFrame(time_ms, frame) ? EM_TRUE : EM_FALSE;
}

}  // namespace

// The frames begin, once the window's first picture is drawn or could not be.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_begin() {
  emscripten_request_animation_frame_loop(Frame, nullptr);
}

int main() {
  std::string error;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) {
    std::fprintf(stderr, "vorlan-kidney: %s\n", error.c_str());
    vk_page_fail(error.c_str());
    return 1;
  }
  runtime.Start(form, [] { form.Step(); });
  screen.Open();
  return 0;
}
