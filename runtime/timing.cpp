// The wait and present timing that every platform with a screen shares.
#include "runtime/timing.h"

#include <algorithm>

namespace vk {

SteadyClock::time_point CountDeadline(SteadyClock::time_point now, uint64_t steps) {
  const auto room = SteadyClock::time_point::max() - now;
  const uint64_t most = static_cast<uint64_t>(room / kCountStep);
  if (steps >= most) return SteadyClock::time_point::max();
  return now + std::chrono::duration_cast<SteadyClock::duration>(kCountStep * steps);
}

SteadyClock::time_point CountClock::Next(SteadyClock::time_point now, uint64_t steps) {
  SteadyClock::time_point deadline = CountDeadline(last_.value_or(now), steps);
  if (now > deadline && now - deadline > CountDeadline(now, steps) - now) {
    deadline = CountDeadline(now, steps);
  }
  last_ = deadline;
  return deadline;
}

SteadyClock::duration RefreshPeriod(int hertz) {
  if (hertz <= 0) hertz = 60;
  return std::chrono::duration_cast<SteadyClock::duration>(std::chrono::seconds(1)) / hertz;
}

void PresentGate::SetShown(bool shown) {
  if (shown && !shown_) changed_ = true;  // whatever the window showed before is gone
  shown_ = shown;
}

std::optional<SteadyClock::time_point> PresentGate::Due(SteadyClock::time_point now) const {
  if (!changed_) return std::nullopt;
  if (!last_) return now;
  return std::max(now, *last_ + period_);
}

void PresentGate::Presented(SteadyClock::time_point at) {
  last_ = at;
  changed_ = false;
}

void FramePeriod::Frame(double time_ms) {
  if (last_ms_ >= 0 && time_ms > last_ms_) {
    recent_[next_] = time_ms - last_ms_;
    next_ = (next_ + 1) % 8;
    double sorted[8];
    int n = 0;
    for (const double interval : recent_) {
      if (interval > 0) sorted[n++] = interval;
    }
    std::nth_element(sorted, sorted + n / 2, sorted + n);
    period_ms_ = std::clamp(sorted[n / 2], 2.0, 100.0);
  }
  last_ms_ = time_ms;
}

}  // namespace vk
