// The length of one count step of the wait: a spin on the processor's pause hint, calibrated
// once so that a step lasts the same on every machine.
#pragma once

#include <chrono>

namespace vk {

// One count step. The start wait of 1000000 steps then lasts 0.1 s, about 10 slides a second;
// a count that followed the processor's speed would run far too fast on today's machines.
constexpr std::chrono::nanoseconds kCountStep{100};

class StepPacer {
 public:
  // Measures the pause hint against the steady clock (about 10 ms) and sets the spin per step.
  void Calibrate();
  // Spins for one step. Fractions of a pause carry over to the next step, so long counts keep
  // the calibrated length on average.
  void Step() {
    credit_ += pauses_per_step_;
    while (credit_ >= 1) {
      Pause();
      credit_ -= 1;
    }
  }
  double pauses_per_step() const { return pauses_per_step_; }

 private:
  static void Pause();
  double pauses_per_step_ = 0;
  double credit_ = 0;
};

}  // namespace vk
