// vorlan-kidney: opens the player's window, built from the description embedded in the program.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platforms/sdl/sdl_runtime.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"
#include "runtime/command_line.h"

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
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) {
    std::fprintf(stderr, "vorlan-kidney: %s\n", error.c_str());
    return 1;
  }
  // Slides decode on a worker while the window comes up; loading waits only for the one it takes.
  vk::SlidePictures pictures(layout.holder_jpegs, vk::SlidePictures::kOnWorker);
  vk::SdlRuntime runtime(layout, pictures);
  if (!runtime.Open(&error)) {
    std::fprintf(stderr, "vorlan-kidney: %s\n", error.c_str());
    return 1;
  }
  vk::VorlanKidney form(runtime);
  try {
    runtime.Activate(form);
  } catch (const vk::ProgramEnd&) {
    return 0;
  } catch (const vk::RuntimeError& e) {
    runtime.ReportError(e);
    return 1;
  }
  return 0;
}
