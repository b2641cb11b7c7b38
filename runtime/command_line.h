// The player's command line: it takes no arguments, but answers --help and --version.
#pragma once

#include <cstdio>

namespace vk {

// Reads the arguments after the program's name. Returns -1 when the player should open its window
// (no arguments); otherwise the exit status after printing: 0 for --help, -h and --version (to
// `out`), 2 with the usage on `err` for anything else.
int ReadCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace vk
