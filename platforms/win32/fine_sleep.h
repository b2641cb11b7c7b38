// Sleeping until a deadline on Windows, to well under a millisecond.
#pragma once

#include <windows.h>

#include "runtime/timing.h"

namespace vk {

// A high-resolution waitable timer where Windows has one, else Sleep with timeBeginPeriod(1);
// either wakes up to a millisecond late, and under Wine by an amount that drifts, which would
// make the slides' intervals uneven: so the last millisecond is yielded away instead.
class FineSleep {
 public:
  FineSleep();
  ~FineSleep();
  FineSleep(const FineSleep&) = delete;
  FineSleep& operator=(const FineSleep&) = delete;

  void Until(SteadyClock::time_point deadline);

 private:
  HANDLE timer_ = nullptr;
  bool fine_period_ = false;
};

}  // namespace vk
