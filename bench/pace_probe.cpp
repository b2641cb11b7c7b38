// Starts a program and measures, through the X server, when its window's picture changes (the X
// damage extension, one change per present) and how much processor time it uses meanwhile.
// Usage: pace_probe SECONDS PROGRAM [ARGS...]; between start-up and measuring it runs the shell
// command in PACE_PROBE_SETUP with WINDOW set to the window's id (say, a key or a pointer move).
// Prints: median, standard deviation and shortest interval between changes (ms), changes,
// processor use (percent of one core), the 99th percentile of the intervals (ms); then, reading the
// window after each change and matching it to the 24 slides (a window of the slides' size), the
// changes that showed a whole slide, the slides skipped and repeated between them, and the changes
// that showed two slides at once (torn).
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
#include "presentation/form_table.h"
#include "runtime/slides.h"
#include "runtime/window.h"

namespace {

using Clock = std::chrono::steady_clock;
// Damage from one present can arrive in several reports; reports closer than this are one change.
constexpr auto kOneChange = std::chrono::milliseconds(5);
constexpr int kGrid = 8;  // every 8th pixel each way

// The luma of each slide, or of the window, on the grid, top half and bottom half apart.
using Luma = std::vector<uint8_t>;

std::vector<Luma> SlideLumas() {
  std::string error;
  vk::WindowLayout layout;
  std::vector<Luma> lumas;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) return lumas;
  vk::SlidePictures pictures(layout.holder_jpegs, vk::SlidePictures::kAtOnce);
  for (int i = 0; i < vk::kHolders; ++i) {
    const vk::PictureRef p = pictures.Get(i);
    Luma luma;
    for (int y = kGrid / 2; y < p->height; y += kGrid) {
      for (int x = kGrid / 2; x < p->width; x += kGrid)
        luma.push_back(p->plane[0][y * p->stride[0] + x]);
    }
    lumas.push_back(std::move(luma));
  }
  return lumas;
}

Luma WindowLuma(Display* d, Window w) {
  Luma luma;
  XImage* image = XGetImage(d, w, 0, 0, 1024, 768, AllPlanes, ZPixmap);
  if (!image) return luma;
  auto channel = [](unsigned long pixel, unsigned long mask) {
    const int shift = __builtin_ctzl(mask);
    return 255.0 * ((pixel & mask) >> shift) / (mask >> shift);
  };
  for (int y = kGrid / 2; y < 768; y += kGrid) {
    for (int x = kGrid / 2; x < 1024; x += kGrid) {
      const unsigned long v = XGetPixel(image, x, y);
      luma.push_back(static_cast<uint8_t>(std::lround(0.299 * channel(v, image->red_mask) +
                                                      0.587 * channel(v, image->green_mask) +
                                                      0.114 * channel(v, image->blue_mask))));
    }
  }
  XDestroyImage(image);
  return luma;
}

// The slide that samples [from, to) of `luma` show, or -1 when none matches.
int Match(const std::vector<Luma>& slides, const Luma& luma, size_t from, size_t to) {
  int best = -1;
  double best_difference = 1e9;
  for (size_t i = 0; i < slides.size(); ++i) {
    double sum = 0;
    for (size_t j = from; j < to; ++j) sum += std::abs(luma[j] - slides[i][j]);
    if (sum / (to - from) < best_difference) best_difference = sum / (to - from), best = i;
  }
  return best_difference < 4 ? best : -1;
}

struct Slides {
  int whole = 0, skipped = 0, repeated = 0, torn = 0;
  int last = -1;
  // The window after one change, against the slides; each slide follows the last, forward.
  void Saw(const std::vector<Luma>& slides, const Luma& luma) {
    if (slides.empty() || luma.size() != slides[0].size()) return;
    const int slide = Match(slides, luma, 0, luma.size());
    if (slide < 0) {
      const size_t half = luma.size() / 2;
      const int top = Match(slides, luma, 0, half), bottom = Match(slides, luma, half, luma.size());
      if (top >= 0 && bottom >= 0 && top != bottom) ++torn;
      return;
    }
    ++whole;
    if (last >= 0) {
      const int step = (slide - last + 24) % 24;
      if (step == 0) ++repeated;
      if (step > 1) skipped += step - 1;
    }
    last = slide;
  }
};

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

  const std::vector<Luma> slides = SlideLumas();
  Slides seen;
  const Damage damage = XDamageCreate(d, w, XDamageReportNonEmpty);
  XSync(d, False);
  const double cpu_start = vk::bench::CpuSeconds(pid);
  const auto start = Clock::now();
  const auto end = start + std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<double>(std::atof(argv[1])));
  std::vector<Clock::time_point> changes;
  // The window is read once a change's reports have stopped for kOneChange, so that the read
  // neither splits one change in two nor sees half of a picture still arriving.
  Clock::time_point last_report{};
  bool unread = false;
  while (Clock::now() < end) {
    while (XPending(d)) {
      XEvent event;
      XNextEvent(d, &event);
      if (event.type != damage_event + XDamageNotify) continue;
      const auto now = Clock::now();
      if (changes.empty() || now - last_report > kOneChange) changes.push_back(now);
      last_report = now;
      unread = true;
      XDamageSubtract(d, damage, None, None);
    }
    if (unread && Clock::now() - last_report > kOneChange) {
      seen.Saw(slides, WindowLuma(d, w));
      unread = false;
    }
    pollfd x{ConnectionNumber(d), POLLIN, 0};
    poll(&x, 1, unread ? 1 : 10);  // wakes as soon as the server reports
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
  std::printf("%.2f %.2f %.2f %zu %.1f %.2f %d %d %d %d\n", median, deviation, shortest,
              changes.size(), 100 * cpu / seconds, p99, seen.whole, seen.skipped, seen.repeated,
              seen.torn);
  return 0;
}
