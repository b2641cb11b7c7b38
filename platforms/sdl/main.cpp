// vorlan-kidney: opens the player's window, built from the description embedded in the program.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platforms/sdl/sdl_screen.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"
#include "runtime/command_line.h"
#include "runtime/screen_runtime.h"
#include "runtime/slides.h"

namespace {

// A problem before the player plays: one line on standard error, and status 1.
int Fail(const std::string& error) {
  std::fprintf(stderr, "vorlan-kidney: %s\n", error.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const vk::CommandLineAnswer answer = vk::ReadCommandLine(argc, argv); answer.status >= 0) {
    std::FILE* out = answer.to_error ? stderr : stdout;
    if ((std::fputs(answer.text.c_str(), out) < 0 || std::fflush(out) != 0) && !answer.to_error) {
      std::fputs(vk::AnswerNotWritten(std::strerror(errno)).c_str(), stderr);
      return 1;
    }
    return answer.status;
  }
  std::string error;
  vk::WindowLayout layout;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) return Fail(error);
  // Slides decode on a worker while the window comes up; loading waits only for the one it takes.
  vk::SlidePictures pictures(layout.holder_jpegs, vk::SlidePictures::kOnWorker);
  vk::SdlScreen screen(layout);
  if (!screen.Open(&error)) return Fail(error);
  vk::ScreenRuntime runtime(screen, pictures, vk::ScreenRuntime::Pacing::kSleeps);
  vk::VorlanKidney form(runtime);
  return runtime.Run(form);
}
