// Starts a program and measures, through the X server, when its window first shows a picture:
// the first moment a window of that process is mapped and more than a tenth of samples along
// four rows of it are not black. Then lets it play and reports its peak resident memory.
// Usage: first_frame SECONDS_TO_PLAY PROGRAM [ARGS...]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "bench/x_probe.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: first_frame SECONDS_TO_PLAY PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "first_frame: no display\n");
    return 1;
  }
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows come and go
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  double first_ms = -1;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    const Window w = vk::bench::FindWindow(d, DefaultRootWindow(d), pid);
    if (w && vk::bench::ShowsAPicture(d, w)) {
      first_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[1])));
  const long rss = vk::bench::PeakRssKiB(pid);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  std::printf("%.1f %.1f\n", first_ms, rss / 1024.0);
  return first_ms < 0;
}
