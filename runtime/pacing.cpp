// The length of one count step of the wait: a spin on the processor's pause hint, calibrated
// once so that a step lasts the same on every machine.
#include "runtime/pacing.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace vk {

void StepPacer::Pause() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#else
  asm volatile("" ::: "memory");
#endif
}

void StepPacer::Calibrate() {
  using Clock = std::chrono::steady_clock;
  // Two rounds: the first finds the cost of a pause, the second measures whole steps (with their
  // bookkeeping) and corrects for it. The best of a few tries discards a round that was
  // interrupted.
  auto time_steps = [this](int steps) {
    double best = 1e30;
    for (int attempt = 0; attempt < 3; ++attempt) {
      const auto start = Clock::now();
      for (int i = 0; i < steps; ++i) Step();
      const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
      if (ns < best) best = ns;
    }
    return best / steps;
  };
  pauses_per_step_ = 1;
  const double ns_per_pause = time_steps(20000);
  pauses_per_step_ = kCountStep.count() / ns_per_pause;
  const double ns_per_step = time_steps(10000);
  pauses_per_step_ *= kCountStep.count() / ns_per_step;
  credit_ = 0;
}

}  // namespace vk
