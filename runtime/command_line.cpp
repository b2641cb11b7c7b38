// The player's command line: it takes no arguments, but answers --help and --version.
#include "runtime/command_line.h"

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
    "  mouse move    the fastest pace, one slide each screen refresh: the pointer's wait,\n"
    "                X x 30 x Y counts of 100 ns, is shorter than a refresh on the picture\n"
    "  click         mouse mode on or off: each move steps one slide, down forward, up back\n"
    "  F11           full screen on or off\n"
    "  Escape, double click or closing the window: quit\n"
    "\n"
    "Exit status: 0 when quit, 1 when the window cannot open or a run-time error ends it,\n"
    "2 for an argument it does not know.\n";

}  // namespace

CommandLineAnswer ReadCommandLine(int argc, const char* const* argv) {
  if (argc <= 1) return {};
  const std::string arg = argv[1];
  if (argc == 2 && (arg == "--help" || arg == "-h")) return {0, kUsage};
  if (argc == 2 && arg == "--version") return {0, "vorlan-kidney " VK_VERSION "\n"};
  const std::string extra = argc == 2 ? arg : argv[2];
  return {2, "vorlan-kidney: unknown argument '" + extra + "' (--help lists the options)\n", true};
}

std::string AnswerNotWritten(const std::string& why) {
  return "vorlan-kidney: cannot write the answer to standard output: " + why + "\n";
}

}  // namespace vk
