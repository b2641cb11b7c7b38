// vorlan-replay: shows what the player does with a script of input events, without a display.
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "presentation/form_table.h"
#include "runtime/picture.h"
#include "runtime/window.h"
#include "tools/replay.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // The output is compared byte for byte: no \r before each \n.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  constexpr char kUsage[] = "usage: vorlan-replay [--state] < SCRIPT\n";
  bool with_state = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--state") == 0) {
      with_state = true;
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::cout << kUsage << std::flush;
      if (std::cout) return 0;
      std::cerr << "vorlan-replay: cannot write the output\n";
      return 1;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  // A script that cannot be read is refused, rather than taken as an empty one.
  struct stat input;
  const int stat_result = fstat(STDIN_FILENO, &input);
  const bool closed = stat_result != 0 && errno == EBADF;  // not every system can stat a pipe
  const bool folder = stat_result == 0 && S_ISDIR(input.st_mode);
  if (closed || folder) {
    std::cerr << "vorlan-replay: cannot read the script: standard input is "
              << (closed ? "closed" : "a folder") << '\n';
    return 2;
  }
  std::string error;
  vk::WindowLayout window;
  if (!vk::BuildWindow(vk::FormTable()[0], &window, &error)) {
    std::cerr << "vorlan-replay: " << error << '\n';
    return 1;
  }
  // The replay shows which holder's picture is set, never its pixels, so each holder with a JPEG
  // gets a picture without samples: memory stays small and nothing is decoded.
  std::vector<vk::PictureRef> holders;
  for (const auto& jpeg : window.holder_jpegs) {
    holders.push_back(jpeg.empty() ? nullptr
                                   : std::make_shared<vk::Picture>(
                                         vk::Picture{vk::kSlideWidth, vk::kSlideHeight}));
  }
  const int status = vk::RunReplay(std::cin, std::move(holders), with_state, std::cout, &error);
  if (std::ferror(stdin)) {
    std::cerr << "vorlan-replay: cannot read the script: " << std::strerror(errno) << '\n';
    return 2;
  }
  if (!error.empty()) std::cerr << "vorlan-replay: " << error << '\n';
  return status;
}
