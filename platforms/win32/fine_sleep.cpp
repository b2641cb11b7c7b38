// Sleeping until a deadline on Windows, to well under a millisecond.
#include "platforms/win32/fine_sleep.h"

#include <algorithm>
#include <cstdint>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace vk {

FineSleep::FineSleep() {
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                  TIMER_ALL_ACCESS);
  if (!timer_) fine_period_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

FineSleep::~FineSleep() {
  if (fine_period_) timeEndPeriod(1);
  if (timer_) CloseHandle(timer_);
}

// Sleeps until a millisecond before the deadline and yields the processor for the rest.
void FineSleep::Until(SteadyClock::time_point deadline) {
  constexpr auto kYielded = std::chrono::milliseconds(1);
  for (;;) {
    const auto left = deadline - SteadyClock::now();
    if (left <= SteadyClock::duration::zero()) return;
    const auto asleep = left - kYielded;
    const int64_t ticks =  // 100 ns units
        std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 10000000>>>(asleep)
            .count();
    if (ticks > 0 && timer_) {
      LARGE_INTEGER due;
      due.QuadPart = -ticks;  // negative: relative
      if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
        WaitForSingleObject(timer_, INFINITE);
        continue;
      }
    }
    if (const int64_t ms = ticks / 10000; ms >= 1) {
      Sleep(static_cast<DWORD>(std::min<int64_t>(ms, INFINITE - 1)));
    } else {
      SwitchToThread();
    }
  }
}

}  // namespace vk
