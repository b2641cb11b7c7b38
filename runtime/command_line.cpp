// The player's command line: it takes no arguments, but answers --help and --version.
#include "runtime/command_line.h"

#include <cstring>

namespace vk {

namespace {

constexpr char kUsage[] =
    "usage: vorlan-kidney [--help | --version]\n"
    "\n"
    "Plays the 24 slides of a three-lobed cam and a kidney-shaped cam driving a yoke, in an\n"
    "endless loop, in a window of its own.\n"
    "\n"
    "  -             run backward\n"
    "  + or ,        run forward\n"
    "  /             stop; when stopped, step one slide back\n"
    "  * Space .     stop; when stopped, step one slide forward\n"
    "  mouse move    set the pace: further right and down is slower\n"
    "  click         mouse mode on or off: each move steps one slide, down forward, up back\n"
    "  F11           full screen on or off\n"
    "  Escape, double click or closing the window: quit\n"
    "\n"
    "Exit status: 0 when quit, 1 when the window cannot open or a run-time error ends it,\n"
    "2 for an argument it does not know.\n";

}  // namespace

int ReadCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  if (argc <= 1) return -1;
  const char* arg = argv[1];
  if (argc == 2 && (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)) {
    std::fputs(kUsage, out);
    return 0;
  }
  if (argc == 2 && std::strcmp(arg, "--version") == 0) {
    std::fputs("vorlan-kidney " VK_VERSION "\n", out);
    return 0;
  }
  std::fputs(kUsage, err);
  return 2;
}

}  // namespace vk
