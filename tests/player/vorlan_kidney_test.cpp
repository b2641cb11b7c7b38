// The form: loading sequence, start values, the playback cycle, WaitCycle and the handlers.
#include "player/vorlan_kidney.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/player_fixture.h"
#include "tools/replay.h"

namespace vk {
namespace {

using Kind = TypedNumber::Kind;

enum class Run { kStart, kForward, kBackward, kStopped };

void SetRun(PlayerState& s, Run run, int index) {
  s.l = index;
  switch (run) {
    case Run::kStart:
      s.n = 1, s.m = TypedNumber(), s.mm = TypedNumber();
      break;
    case Run::kForward:
      s.n = 1, s.m = 0, s.mm = 1;
      break;
    case Run::kBackward:
      s.n = 1, s.m = 1, s.mm = 0;
      break;
    case Run::kStopped:
      s.n = 0, s.m = 0, s.mm = 0;
      break;
  }
}

Run RunOf(const PlayerState& s) {
  if (s.n == 0) return Run::kStopped;
  if (s.m == 1) return Run::kBackward;
  return s.mm == 1 ? Run::kForward : Run::kStart;
}

// --- Loading and start values ---------------------------------------------------------------

TEST_F(PlayerTest, LoadingShowsSlideOneBeforeAnyPumpThenPumpsAfterEachOtherSlide) {
  std::vector<uint64_t> pumps_when_shown;
  runtime.on_set_picture = [&] { pumps_when_shown.push_back(runtime.pump_count); };
  Load();
  ASSERT_GE(runtime.shown.size(), 1u);
  EXPECT_EQ(runtime.HolderIndex(runtime.shown[0]), 0);
  EXPECT_EQ(pumps_when_shown[0], 0u);
  EXPECT_EQ(runtime.pump_count, 24u);  // 23 loading pumps and the first cycle's
  ASSERT_EQ(runtime.shown.size(), 2u);
  EXPECT_EQ(pumps_when_shown[1], 23u);
}

TEST_F(PlayerTest, StartValuesAfterLoading) {
  Load({{Key('+'), Move(10, 20)}});
  // The first cycle has run: n and k are the start values whatever loading did.
  EXPECT_EQ(form.k.kind(), Kind::kI32);
  EXPECT_EQ(form.k.Value(), 1000000);
  EXPECT_EQ(form.n.kind(), Kind::kI16);
  EXPECT_EQ(form.n.Value(), 1);
  EXPECT_EQ(form.hl.Value(), 0);
  EXPECT_EQ(form.updo.Value(), 1);
  EXPECT_TRUE(form.m.IsEmpty());
  EXPECT_TRUE(form.mm.IsEmpty());
  for (const TypedNumber* unused : {&form.nn, &form.st, &form.ke, &form.ke1, &form.nmm}) {
    EXPECT_TRUE(unused->IsEmpty());
  }
  EXPECT_EQ(runtime.HolderIndex(runtime.picture1), 1);
}

TEST(LoadingTest, HolderWithoutPictureRaisesAfterTheEntriesBeforeIt) {
  std::vector<PictureRef> holders = StandInHolders();
  holders[5] = nullptr;  // Image6
  HeadlessRuntime runtime(holders);
  VorlanKidney form(runtime);
  try {
    runtime.Start(form);
    FAIL() << "loading went on past a holder without a picture";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), kInvalidPicture);
  }
  EXPECT_EQ(runtime.pump_count, 4u);  // after entries 1 to 4
  EXPECT_EQ(runtime.shown.size(), 1u);
}

TEST(LoadingTest, FailedShowOfSlideOneRaisesItsResult) {
  HeadlessRuntime runtime(StandInHolders());
  VorlanKidney form(runtime);
  runtime.set_picture_result = -2147467259;
  try {
    runtime.Start(form);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), -2147467259);
  }
  EXPECT_EQ(runtime.pump_count, 0u);
}

TEST_F(PlayerTest, EscapeDuringLoadingEndsBeforePlayback) {
  std::vector<std::vector<InputEvent>> loading(23);
  loading[3] = {Key(27), Key('+')};
  runtime.pumps = loading;
  EXPECT_THROW(runtime.Start(form), ProgramEnd);
  EXPECT_TRUE(runtime.hidden);
  EXPECT_EQ(runtime.pump_count, 4u);
  EXPECT_TRUE(form.n.IsEmpty());  // the event after Escape never ran
  EXPECT_EQ(runtime.shown.size(), 1u);
}

TEST_F(PlayerTest, ClickDuringLoadingCarriesMouseModeIntoPlayback) {
  Load({{}, {Click()}});
  EXPECT_EQ(form.nm.Value(), 1);
  EXPECT_TRUE(form.n1.IsEmpty());
  // Leaving mouse mode restores the empty triple: the player stands still until a command.
  const int shown = runtime.HolderIndex(runtime.picture1);
  EXPECT_EQ(Cycle({Click()}), shown);
  EXPECT_EQ(Cycle(), shown);
  EXPECT_EQ(Cycle({Key('+')}), (shown + 2) % 24);
}

TEST_F(PlayerTest, KeyDuringLoadingThenClickComesBackAtTheRestore) {
  Load({{Key('-')}, {Click()}});
  EXPECT_EQ(form.n1.Value(), -1);
  const int shown = runtime.HolderIndex(runtime.picture1);
  EXPECT_EQ(Cycle({Click()}), (shown + 22) % 24);  // the saved -1 is taken: two back
}

// --- The playback cycle --------------------------------------------------------------------------

TEST_F(PlayerTest, FirstCyclesPlayTheWholeLoopForward) {
  Load();
  std::vector<int> shown;
  for (const PictureRef& p : runtime.shown) shown.push_back(runtime.HolderIndex(p));
  for (int i = 0; i < 23; ++i) shown.push_back(Cycle());
  std::vector<int> expected;
  for (int i = 0; i <= 24; ++i) expected.push_back(i % 24);
  EXPECT_EQ(shown, expected);  // 0 from loading, then 1 ... 23, 0
  EXPECT_EQ(form.l.kind(), Kind::kI16);
}

struct StepRule {
  Run before;
  int command;  // 1 = none
  int delta;
  Run after;
};

TEST_F(PlayerTest, StepRules) {
  const StepRule rules[] = {
      {Run::kStart, 1, 1, Run::kStart},         {Run::kForward, 1, 1, Run::kForward},
      {Run::kBackward, 1, -1, Run::kBackward},  {Run::kStopped, 0, 0, Run::kStopped},
      {Run::kStart, -1, -2, Run::kBackward},    {Run::kForward, -1, -2, Run::kBackward},
      {Run::kBackward, -1, -2, Run::kBackward}, {Run::kStopped, -1, -2, Run::kBackward},
      {Run::kStart, 3, 2, Run::kForward},       {Run::kForward, 3, 2, Run::kForward},
      {Run::kBackward, 3, 2, Run::kForward},    {Run::kStopped, 3, 2, Run::kForward},
      {Run::kStart, -2, -1, Run::kStopped},     {Run::kStopped, -2, -1, Run::kStopped},
      {Run::kForward, -2, 0, Run::kStopped},    {Run::kBackward, -2, 0, Run::kStopped},
      {Run::kStart, 2, 1, Run::kStopped},       {Run::kStopped, 2, 1, Run::kStopped},
      {Run::kForward, 2, 0, Run::kStopped},     {Run::kBackward, 2, 0, Run::kStopped},
  };
  Load();
  for (const StepRule& rule : rules) {
    for (int start : {0, 1, 12, 22, 23}) {
      SetRun(form, rule.before, start);
      if (rule.command != 1 && rule.command != 0) form.n = rule.command;
      const int shown = Cycle();
      SCOPED_TRACE("before " + std::to_string(static_cast<int>(rule.before)) + " command " +
                   std::to_string(rule.command) + " at " + std::to_string(start));
      EXPECT_EQ(shown, (start + rule.delta + 24) % 24);
      EXPECT_EQ(RunOf(form), rule.after);
    }
  }
}

TEST_F(PlayerTest, StoppedWithEmptyRunFlagStandsStill) {
  Load();
  form.n = TypedNumber();
  form.m = TypedNumber();
  form.mm = TypedNumber();
  form.l = 9;
  EXPECT_EQ(Cycle(), 9);
  EXPECT_EQ(Cycle(), 9);
}

struct Trace {
  Run before;
  int index;
  std::vector<int> commands;  // 1 = none
  std::vector<int> shown;
  Run after;
};

TEST_F(PlayerTest, WorkedTraces) {
  const Trace traces[] = {
      {Run::kStart, 5, {-1, 1, 1, 1, 1, 1}, {3, 2, 1, 0, 23, 22}, Run::kBackward},
      {Run::kStart, 1, {-1, 1}, {23, 22}, Run::kBackward},
      {Run::kBackward, 3, {3, 1, 1, 1}, {5, 6, 7, 8}, Run::kForward},
      {Run::kStopped, 22, {3, 1}, {0, 1}, Run::kForward},
      {Run::kStopped, 5, {-1, 1}, {3, 2}, Run::kBackward},
      {Run::kForward, 7, {-2, 1, -2, 1, 2, 1}, {7, 7, 6, 6, 7, 7}, Run::kStopped},
      {Run::kStart, 5, {-2, 1}, {4, 4}, Run::kStopped},
      {Run::kStart, 5, {2, 1}, {6, 6}, Run::kStopped},
      {Run::kBackward, 0, {2, 1}, {0, 0}, Run::kStopped},
  };
  Load();
  for (const Trace& trace : traces) {
    SetRun(form, trace.before, trace.index);
    std::vector<int> shown;
    for (int command : trace.commands) {
      if (command != 1) form.n = command;
      shown.push_back(Cycle());
    }
    EXPECT_EQ(shown, trace.shown);
    EXPECT_EQ(RunOf(form), trace.after);
  }
}

TEST_F(PlayerTest, MouseScrubbingTrace) {
  Load();
  SetRun(form, Run::kForward, 10);
  std::vector<int> shown;
  shown.push_back(Cycle({Click()}));
  shown.push_back(Cycle({Move(5, 10)}));
  shown.push_back(Cycle({Move(5, 12)}));
  shown.push_back(Cycle({Move(5, 11)}));
  shown.push_back(Cycle());
  EXPECT_EQ(shown, (std::vector<int>{11, 11, 12, 11, 11}));
  EXPECT_EQ(RunOf(form), Run::kStopped);
  // Leaving mouse mode resumes the forward run from the slide reached.
  EXPECT_EQ(Cycle({Click()}), 12);
  EXPECT_EQ(form.k.Value(), 10000);
}

TEST_F(PlayerTest, LaterCommandInOnePumpWins) {
  Load();
  SetRun(form, Run::kStart, 10);
  EXPECT_EQ(Cycle({Key('-'), Key('+')}), 12);
  EXPECT_EQ(RunOf(form), Run::kForward);
  EXPECT_EQ(Cycle({Key('+'), Key('-')}), 10);
  EXPECT_EQ(RunOf(form), Run::kBackward);
}

TEST_F(PlayerTest, IndexOutsideTheStoreRaisesBeforeReadingIt) {
  Load();
  const size_t shown = runtime.shown.size();
  form.hl = 1;
  try {
    form.PlaybackCycle();
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), kSubscript);
  }
  form.hl = 0;
  form.l = -1;
  form.n = 0;
  EXPECT_THROW(form.PlaybackCycle(), RuntimeError);
  EXPECT_EQ(runtime.shown.size(), shown);
}

TEST_F(PlayerTest, FailedShowInPlaybackRaisesItsResult) {
  Load();
  runtime.set_picture_result = -5;
  const uint64_t pumps = runtime.pump_count;
  try {
    form.PlaybackCycle();
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), -5);
  }
  EXPECT_EQ(runtime.pump_count, pumps);  // no wait after the failure
}

TEST_F(PlayerTest, WaitCycleCountsFloorOfKPlusOneStepsThenPumpsOnce) {
  Load();
  const std::pair<TypedNumber, uint64_t> cases[] = {
      {0, 1},
      {2.5f, 3},
      {-3, 0},
      {12.75f, 13},
      {10000, 10001},
      {1000000, 1000001},
      {TypedNumber(), 1},
      {-0.25f, 0},
  };
  for (const auto& [k, steps] : cases) {
    form.k = k;
    const uint64_t before = runtime.count_steps;
    const uint64_t pumps = runtime.pump_count;
    const uint64_t counts = runtime.counts;
    form.PlaybackCycle();
    EXPECT_EQ(runtime.count_steps - before, steps) << k.Value();
    EXPECT_EQ(runtime.counts - counts, 1u) << "the whole count is one wait";
    EXPECT_EQ(runtime.pump_count - pumps, 1u);
  }
  // Input is taken after the count, not before it: a key pressed during the count is seen by the
  // very next cycle, never a cycle late.
  uint64_t counts_at_pump = 0;
  runtime.next_pump = [&](uint64_t, std::vector<InputEvent>* events) {
    counts_at_pump = runtime.counts;
    events->clear();
    return true;
  };
  const uint64_t counts = runtime.counts;
  form.PlaybackCycle();
  EXPECT_EQ(counts_at_pump, counts + 1) << "the pump ran before the count";
}

// --- Input handlers ----------------------------------------------------------------------------

TEST_F(PlayerTest, KeysPostTheirCommands) {
  const std::pair<int16_t, int> keys[] = {{'-', -1}, {'+', 3}, {',', 3}, {'/', -2},
                                          {'*', 2},  {' ', 2}, {'.', 2}};
  for (const auto& [code, command] : keys) {
    form.n = TypedNumber();
    int16_t key = code;
    form.Picture1_KeyPress(key);
    EXPECT_EQ(form.n.Value(), command) << code;
    EXPECT_EQ(form.n.kind(), Kind::kI16);
    EXPECT_EQ(key, code);  // handed back unchanged
  }
}

TEST_F(PlayerTest, OtherKeysChangeNothing) {
  Load();
  const std::string before = FormatState(form);
  for (int16_t code : {97, 65, 49, 13, 8, 0, 255, 256, -1, -27, 32767, -32768, 27 + 256}) {
    int16_t key = code;
    form.Picture1_KeyPress(key);
    EXPECT_EQ(key, code);
  }
  EXPECT_EQ(FormatState(form), before);
  EXPECT_FALSE(runtime.hidden);
}

TEST_F(PlayerTest, EscapeAndDoubleClickHideTheWindowThenEnd) {
  Load();
  int16_t escape = 27;
  EXPECT_THROW(form.Picture1_KeyPress(escape), ProgramEnd);
  EXPECT_TRUE(runtime.hidden);
  runtime.hidden = false;
  EXPECT_THROW(form.Picture1_DblClick(), ProgramEnd);
  EXPECT_TRUE(runtime.hidden);
}

TEST_F(PlayerTest, FailedHideRaisesAndDoesNotEnd) {
  runtime.hide_result = -7;
  int16_t escape = 27;
  try {
    form.Picture1_KeyPress(escape);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), -7);
  }
  EXPECT_THROW(form.Picture1_DblClick(), RuntimeError);
}

TEST_F(PlayerTest, MouseMoveInNormalModeSetsThePace) {
  float x = 10, y = 20;
  form.Picture1_MouseMove(0, 0, x, y);
  EXPECT_EQ(form.k.kind(), Kind::kF32);
  EXPECT_EQ(form.k.Value(), 6000);
  x = 0;
  form.Picture1_MouseMove(1, 3, x, y);
  EXPECT_EQ(form.k.Value(), 0);
  x = 14.8828058f, y = 29.84375f;
  form.Picture1_MouseMove(0, 0, x, y);
  EXPECT_NEAR(form.k.Value(), 13325, 1);
  EXPECT_TRUE(form.n.IsEmpty());
  EXPECT_TRUE(form.yyy.IsEmpty());
  // An overflow raises before k is written.
  x = 3e38f, y = 1;
  EXPECT_THROW(form.Picture1_MouseMove(0, 0, x, y), RuntimeError);
  EXPECT_NEAR(form.k.Value(), 13325, 1);
}

TEST_F(PlayerTest, MouseMoveInMouseModeStepsByDirection) {
  form.Picture1_Click();
  float x = 3, y = 0;
  form.Picture1_MouseMove(0, 0, x, y);  // first move, yyy empty: level counts as forward
  EXPECT_EQ(form.n.Value(), 2);
  EXPECT_EQ(form.k.kind(), Kind::kI16);
  EXPECT_EQ(form.k.Value(), 10000);
  EXPECT_EQ(form.yyy.kind(), Kind::kF32);
  y = 0;
  form.Picture1_MouseMove(0, 0, x, y);
  EXPECT_EQ(form.n.Value(), 2);
  y = -0.5f;
  form.Picture1_MouseMove(0, 0, x, y);
  EXPECT_EQ(form.n.Value(), -2);
  EXPECT_EQ(form.yyy.Value(), -0.5);
  y = 4;
  form.Picture1_MouseMove(0, 0, x, y);
  EXPECT_EQ(form.n.Value(), 2);
}

TEST_F(PlayerTest, ClickSavesAndRestoresTheMotion) {
  Load();
  SetRun(form, Run::kBackward, 4);
  form.k = 1234;
  form.Picture1_Click();
  EXPECT_EQ(form.nm.Value(), 1);
  EXPECT_EQ(form.n1.Value(), 1);
  EXPECT_EQ(form.m1.Value(), 1);
  EXPECT_EQ(form.mm1.Value(), 0);
  form.Picture1_Click();
  EXPECT_EQ(form.nm.Value(), 0);
  EXPECT_EQ(RunOf(form), Run::kBackward);
  EXPECT_EQ(form.k.Value(), 1234);
}

TEST_F(PlayerTest, TwoClicksInOnePump) {
  Load();
  SetRun(form, Run::kForward, 4);
  Cycle({Click(), Click()});
  EXPECT_EQ(form.nm.Value(), 0);
  EXPECT_EQ(RunOf(form), Run::kForward);
  // On: two clicks leave it on, with the values saved on entering.
  Cycle({Click(), Move(1, 1)});
  EXPECT_EQ(form.n.Value(), 0);  // the step was taken: stopped
  Cycle({Click(), Click()});
  EXPECT_EQ(form.nm.Value(), 1);
  EXPECT_EQ(RunOf(form), Run::kForward);
}

}  // namespace
}  // namespace vk
