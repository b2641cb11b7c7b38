// Starts a program and measures, through the X server, when its window's picture changes (the X
// damage extension, one change per present) and how much processor time it uses meanwhile.
// Usage: pace_probe SECONDS PROGRAM [ARGS...]; between start-up and measuring it runs the shell
// command in PACE_PROBE_SETUP with WINDOW set to the window's id (say, a key or a pointer move).
// Prints: median, standard deviation and shortest interval between changes (ms), changes,
// processor use (percent of one core), and the 99th percentile of the intervals (ms).
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench/x_probe.h"

namespace {

using Clock = std::chrono::steady_clock;
// Damage from one present can arrive in several reports; reports closer than this are one change.
constexpr auto kOneChange = std::chrono::milliseconds(5);

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: pace_probe SECONDS PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  int damage_event = 0, damage_error = 0;
  if (!d || !XDamageQueryExtension(d, &damage_event, &damage_error)) {
    std::fprintf(stderr, "pace_probe: no display with the damage extension\n");
    return 1;
  }
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  Window w = 0;
  for (int tries = 0; tries < 1000 && !(w && vk::bench::ShowsAPicture(d, w)); ++tries) {
    w = vk::bench::FindWindow(d, DefaultRootWindow(d), pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!w) {
    std::fprintf(stderr, "pace_probe: no window\n");
    kill(pid, SIGTERM);
    return 1;
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));  // past start-up
  if (const char* setup = std::getenv("PACE_PROBE_SETUP")) {
    setenv("WINDOW", std::to_string(w).c_str(), 1);
    if (std::system(setup) != 0) std::fprintf(stderr, "pace_probe: setup failed\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }

  const Damage damage = XDamageCreate(d, w, XDamageReportNonEmpty);
  XSync(d, False);
  const double cpu_start = vk::bench::CpuSeconds(pid);
  const auto start = Clock::now();
  const auto end = start + std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<double>(std::atof(argv[1])));
  std::vector<Clock::time_point> changes;
  while (Clock::now() < end) {
    while (XPending(d)) {
      XEvent event;
      XNextEvent(d, &event);
      if (event.type != damage_event + XDamageNotify) continue;
      const auto now = Clock::now();
      if (changes.empty() || now - changes.back() > kOneChange) changes.push_back(now);
      XDamageSubtract(d, damage, None, None);
    }
    pollfd x{ConnectionNumber(d), POLLIN, 0};
    poll(&x, 1, 10);  // wakes as soon as the server reports
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = vk::bench::CpuSeconds(pid) - cpu_start;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);

  std::vector<double> intervals;
  // The first report may stand for damage from before the measurement began.
  for (size_t i = 2; i < changes.size(); ++i) {
    intervals.push_back(
        std::chrono::duration<double, std::milli>(changes[i] - changes[i - 1]).count());
  }
  double median = 0, deviation = 0, shortest = 0, p99 = 0;
  if (!intervals.empty()) {
    double mean = 0;
    for (double v : intervals) mean += v / intervals.size();
    for (double v : intervals) deviation += (v - mean) * (v - mean) / intervals.size();
    deviation = std::sqrt(deviation);
    std::sort(intervals.begin(), intervals.end());
    median = intervals[intervals.size() / 2];
    shortest = intervals.front();
    p99 = intervals[std::min(intervals.size() - 1, intervals.size() * 99 / 100)];
  }
  std::printf("%.2f %.2f %.2f %zu %.1f %.2f\n", median, deviation, shortest, changes.size(),
              100 * cpu / seconds, p99);
  return 0;
}
