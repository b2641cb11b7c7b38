// Long random streams of input, also during loading: the state's invariants hold after every cycle.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

#include "tests/support/player_fixture.h"
#include "tools/replay.h"

namespace vk {
namespace {

using Triple = std::tuple<int, double, int, double, int, double>;

// (kind, value) of n, mm, m: equal kinds and values mean the same typed numbers.
Triple MotionOf(const PlayerState& s) {
  return {static_cast<int>(s.n.kind()), s.n.Value(), static_cast<int>(s.mm.kind()), s.mm.Value(),
          static_cast<int>(s.m.kind()), s.m.Value()};
}

Triple SavedOf(const PlayerState& s) {
  return {static_cast<int>(s.n1.kind()),  s.n1.Value(),
          static_cast<int>(s.mm1.kind()), s.mm1.Value(),
          static_cast<int>(s.m1.kind()),  s.m1.Value()};
}

// Records (n, mm, m) before every event it raises, so that the saved triple can be checked
// against the moments it could have been taken at.
class WatchingRuntime : public HeadlessRuntime {
 public:
  using HeadlessRuntime::HeadlessRuntime;
  void PumpEvents() override {
    const uint64_t index = pump_count++;
    if (index < pumps.size()) {
      for (const InputEvent& event : pumps[index]) {
        moments.insert(MotionOf(*state));
        Raise(event);
      }
    }
    if (pump_count >= pump_limit) throw ScriptEnd{};
  }
  const PlayerState* state = nullptr;
  std::set<Triple> moments;
};

std::vector<InputEvent> RandomPump(std::mt19937& random) {
  static const int16_t keys[] = {'-', '+', ',', '/', '*', ' ', '.', 'a', 'A', '1', 13, 8, 300, -5};
  std::vector<InputEvent> pump;
  const int events = std::uniform_int_distribution<int>(0, 3)(random);
  for (int i = 0; i < events; ++i) {
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
      case 0:
        pump.push_back(Key(keys[std::uniform_int_distribution<size_t>(0, 13)(random)]));
        break;
      case 1:
        pump.push_back(Click());
        break;
      default:
        pump.push_back(Move(std::uniform_real_distribution<float>(0, 14.88f)(random),
                            std::uniform_real_distribution<float>(0, 29.84f)(random)));
        break;
    }
  }
  return pump;
}

bool OneOf(const TypedNumber& v, std::initializer_list<int> values, bool empty_allowed) {
  if (v.IsEmpty()) return empty_allowed;
  if (v.kind() != TypedNumber::Kind::kI16) return false;
  for (int value : values) {
    if (v == value) return true;
  }
  return false;
}

void CheckInvariants(const VorlanKidney& s, const std::set<Triple>& moments) {
  // 1: l is a 16-bit index from the first cycle on.
  EXPECT_TRUE(OneOf(
      s.l, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23},
      false));
  // 2: never both flags.
  EXPECT_TRUE(OneOf(s.m, {0, 1}, true) && OneOf(s.mm, {0, 1}, true));
  EXPECT_FALSE(s.m == 1 && s.mm == 1);
  EXPECT_EQ(s.m.IsEmpty(), s.mm.IsEmpty());
  // 3: after the four command tests n is empty, 0 or 1 (the picture is set after them).
  EXPECT_TRUE(OneOf(s.n, {0, 1}, true));
  // 4: stopped means no direction.
  if (s.n == 0) {
    EXPECT_TRUE(s.m == 0 && s.mm == 0);
  }
  // 5, 6.
  EXPECT_TRUE(s.hl == 0 && s.hl.kind() == TypedNumber::Kind::kI16);
  EXPECT_TRUE(OneOf(s.nm, {0, 1}, true));
  // 7: the saved triple is (n, mm, m) of one earlier moment.
  EXPECT_EQ(moments.count(SavedOf(s)), 1u);
}

TEST(InvariantsTest, HoldAfterEveryCycleOfRandomInput) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    std::mt19937 random(seed);
    WatchingRuntime runtime(StandInHolders());
    VorlanKidney form(runtime);
    runtime.state = &form;
    runtime.moments.insert(MotionOf(form));
    for (int i = 0; i < 23 + 1000; ++i) runtime.pumps.push_back(RandomPump(random));
    runtime.pump_limit = runtime.pumps.size();
    int cycles = 0;
    runtime.on_set_picture = [&] {
      if (runtime.shown.size() == 1) return;  // slide 1 from loading, before the start values
      SCOPED_TRACE("seed " + std::to_string(seed) + " cycle " + std::to_string(cycles) + ": " +
                   FormatState(form));
      CheckInvariants(form, runtime.moments);
      ++cycles;
    };
    runtime.record_shown = true;
    EXPECT_THROW(runtime.Start(form), ScriptEnd);
    EXPECT_EQ(cycles, 1000);
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace vk
