// The player's command line: it takes no arguments, but answers --help and --version.
#pragma once

#include <string>

namespace vk {

// What the command line asks of the player: to open its window (status -1, no arguments), or to
// print `text` and exit with `status`: 0 for --help, -h and --version, 2 with one line on
// standard error for anything else.
struct CommandLineAnswer {
  int status = -1;
  std::string text;
  bool to_error = false;  // standard error rather than standard output
};

// Reads the arguments after the program's name.
CommandLineAnswer ReadCommandLine(int argc, const char* const* argv);

// The line for an answer that its output did not take (a full disk, a closed stream), for
// standard error; the program then exits 1 rather than report success.
std::string AnswerNotWritten(const std::string& why);

}  // namespace vk
