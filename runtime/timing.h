// The wait and present timing that every platform with a screen shares: a count as one deadline
// on the steady clock, at most one present of a changed picture per display refresh, and the
// refresh a page's animation frames keep.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace vk {

using SteadyClock = std::chrono::steady_clock;

// One count step. The start wait of 1000000 steps then lasts 0.1 s, about 10 slides a second;
// a count that followed the processor's speed would run far too fast on today's machines.
constexpr std::chrono::nanoseconds kCountStep{100};

// When a count of `steps` that begins at `now` ends. A count too long for the clock (only a
// pointer far outside the picture gives one) ends at the clock's last instant.
SteadyClock::time_point CountDeadline(SteadyClock::time_point now, uint64_t steps);

// The deadlines of successive counts. Each follows the one before, not the moment the wait
// begins, so that a cycle's own work (pumping, presenting) does not add to the pace: with an
// unchanged count, slide n is due at start + n counts. A count that begins more than its own
// length behind (the machine was suspended, a debugger stopped it) starts from now again instead
// of catching up in a burst.
class CountClock {
 public:
  SteadyClock::time_point Next(SteadyClock::time_point now, uint64_t steps);

 private:
  std::optional<SteadyClock::time_point> last_;
};

// The display's refresh period for a rate in hertz; 60 Hz where the display reports none.
SteadyClock::duration RefreshPeriod(int hertz);

// Decides whether and when Picture1 goes to the screen: only when its picture changed or the
// window needs painting again, and at most once per refresh period, so that every picture shown
// is seen whole. A hidden window draws nothing but keeps the same time, so that hiding it never
// makes the loop run faster and cost more.
class PresentGate {
 public:
  explicit PresentGate(SteadyClock::duration period) : period_(period) {}
  SteadyClock::duration period() const { return period_; }

  // The picture changed, or the window lost what it showed (exposed, resized).
  void Changed() { changed_ = true; }
  // The window was hidden or minimised (false), or shown again (true).
  void SetShown(bool shown);
  // When the current picture should be presented, asked at `now`: at once, or at the end of the
  // refresh period of the last present; nothing when there is nothing new to see.
  std::optional<SteadyClock::time_point> Due(SteadyClock::time_point now) const;
  // Whether a due picture is drawn: not while the window is hidden.
  bool shown() const { return shown_; }
  // The picture was presented (or, hidden, passed over) at `at`.
  void Presented(SteadyClock::time_point at);

 private:
  SteadyClock::duration period_;
  bool changed_ = true;  // a new window shows nothing yet
  bool shown_ = true;
  std::optional<SteadyClock::time_point> last_;
};

// The display's refresh period, from the animation frames' own times: the median of the last
// few intervals, so that a dropped frame does not stretch it; 60 Hz until two frames came.
class FramePeriod {
 public:
  void Frame(double time_ms);
  double ms() const { return period_ms_; }
  // Whether a slide due at `deadline_ms` belongs in the frame at `time_ms`: the frame nearest
  // its deadline shows it, so that a steady pace gives a steady count of frames.
  bool Shows(double deadline_ms, double time_ms) const { return deadline_ms <= time_ms + ms() / 2; }

 private:
  double last_ms_ = -1;
  double recent_[8] = {};
  int next_ = 0;
  double period_ms_ = 1000.0 / 60;
};

}  // namespace vk
