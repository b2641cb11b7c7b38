// Measures, in this fresh process, what start-up costs before playback: reading the embedded
// description and decoding all 24 slides. Prints milliseconds and the pictures' memory.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "presentation/form_table.h"
#include "runtime/slides.h"
#include "runtime/window.h"

int main() {
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  vk::WindowLayout layout;
  std::string error;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const auto t1 = Clock::now();
  vk::SlidePictures pictures(layout.holder_jpegs, vk::SlidePictures::kAtOnce);
  const auto t2 = Clock::now();
  for (int i = 0; i < vk::kHolders; ++i) {
    if (!pictures.Get(i)) return 1;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
  std::printf("read %.2f ms  decode %.2f ms  total %.2f ms  pictures %.1f MiB  peak RSS %.1f MiB\n",
              ms(t1 - t0), ms(t2 - t1), ms(t2 - t0), pictures.buffer_bytes() / 1048576.0,
              usage.ru_maxrss / 1024.0);
  return 0;
}
