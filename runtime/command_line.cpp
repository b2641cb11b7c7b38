// The player's command line: it takes no arguments, but answers --help and --version.
#include "runtime/command_line.h"

#include "runtime/legend.h"

namespace vk {

namespace {

// The usage: what the player is, its legend, a key's column 14 characters wide, and its statuses.
std::string Usage() {
  std::string text =
      "usage: vorlan-kidney [--help | --version]\n"
      "\n"
      "Plays the 24 slides of a three-lobed cam and a kidney-shaped cam driving a yoke, in an\n"
      "endless loop, in a window of its own.\n"
      "\n";
  constexpr size_t kColumn = 14;
  for (const LegendLine& line : kLegend) {
    const std::string keys = line.keys;
    text += "  " +
            (keys.size() < kColumn ? keys + std::string(kColumn - keys.size(), ' ') : keys + ": ");
    text += line.meaning;
    if (line.more) {
      text += ": ";
      for (const char* c = line.more; *c; ++c) {
        text += *c == '\n' ? "\n" + std::string(2 + kColumn, ' ') : std::string(1, *c);
      }
    }
    text += "\n";
  }
  return text +
         "\n"
         "Exit status: 0 when quit, 1 when the window cannot open or a run-time error ends it,\n"
         "2 for an argument it does not know.\n";
}

}  // namespace

CommandLineAnswer ReadCommandLine(int argc, const char* const* argv) {
  if (argc <= 1) return {};
  const std::string arg = argv[1];
  if (argc == 2 && (arg == "--help" || arg == "-h")) return {0, Usage()};
  if (argc == 2 && arg == "--version") return {0, "vorlan-kidney " VK_VERSION "\n"};
  const std::string extra = argc == 2 ? arg : argv[2];
  return {2, "vorlan-kidney: unknown argument '" + extra + "' (--help lists the options)\n", true};
}

std::string AnswerNotWritten(const std::string& why) {
  return "vorlan-kidney: cannot write the answer to standard output: " + why + "\n";
}

}  // namespace vk
