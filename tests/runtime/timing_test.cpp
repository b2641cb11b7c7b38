// The wait's deadline and the present gate, on a clock the tests set.
#include "runtime/timing.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

using namespace std::chrono_literals;
const SteadyClock::time_point t0 = SteadyClock::time_point() + 1h;

TEST(TimingTest, CountIsOneDeadlineOfHundredNanosecondsAStep) {
  EXPECT_EQ(CountDeadline(t0, 0), t0);  // k < 0: no step, no wait
  EXPECT_EQ(CountDeadline(t0, 1), t0 + 100ns);
  EXPECT_EQ(CountDeadline(t0, 13), t0 + 1300ns);
  EXPECT_EQ(CountDeadline(t0, 1000001), t0 + 100000100ns);
  // The saturated count must not wrap round into the past, which would play at full speed.
  EXPECT_EQ(CountDeadline(t0, UINT64_MAX), SteadyClock::time_point::max());
}

TEST(TimingTest, DeadlinesCarryOverTheCyclesOwnWork) {
  CountClock clock;
  SteadyClock::time_point now = t0;
  for (int n = 1; n <= 100; ++n) {
    const auto deadline = clock.Next(now, 1000000);
    EXPECT_EQ(deadline, t0 + n * 100ms) << "slide " << n;
    now = deadline + 30ms;  // the cycle's own work after the wait
  }
  // A stall of a second: one late slide from then, and the pace again from there.
  now = t0 + 100 * 100ms + 1s;
  EXPECT_EQ(clock.Next(now, 1000000), now + 100ms);
  EXPECT_EQ(clock.Next(now + 100ms, 1000000), now + 200ms);
  // The saturated count still ends at the clock's last instant.
  EXPECT_EQ(clock.Next(now, UINT64_MAX), SteadyClock::time_point::max());
}

TEST(TimingTest, RefreshPeriodDefaultsToSixtyHertz) {
  EXPECT_EQ(RefreshPeriod(0), RefreshPeriod(60));
  EXPECT_EQ(RefreshPeriod(60), 16666666ns);
}

TEST(TimingTest, PresentGateOnePerPeriodOnlyWhatChangedOnlyWhenShown) {
  const auto period = RefreshPeriod(60);
  PresentGate gate(period);
  ASSERT_EQ(gate.Due(t0), t0);  // the first picture goes at once
  gate.Presented(t0);
  EXPECT_EQ(gate.Due(t0 + 1ms), std::nullopt) << "an unchanged picture presents nothing";

  gate.Changed();  // a second picture inside the period waits for its end
  ASSERT_EQ(gate.Due(t0 + 5ms), t0 + period);
  gate.Presented(t0 + period);
  gate.Changed();  // later than a period after the last present: at once
  EXPECT_EQ(gate.Due(t0 + 100ms), t0 + 100ms);

  gate.Presented(t0 + 100ms);
  gate.SetShown(false);  // hidden: a changed picture is not drawn, but keeps the same time
  gate.Changed();
  EXPECT_FALSE(gate.shown());
  EXPECT_EQ(gate.Due(t0 + 101ms), t0 + 100ms + period) << "a hidden window runs faster";
  gate.Presented(t0 + 100ms + period);
  gate.SetShown(true);  // shown again: the current picture at once, though it did not change
  EXPECT_EQ(gate.Due(t0 + 300ms), t0 + 300ms);
  gate.Presented(t0 + 300ms);
  gate.SetShown(true);  // told again that it is shown: nothing new to see
  EXPECT_EQ(gate.Due(t0 + 400ms), std::nullopt);
}

}  // namespace
}  // namespace vk
