// The screen runtime that every platform with a screen runs, on a screen that records what it is
// asked: the still-picture wait, the present, the end, and a page's frames.
#include "runtime/screen_runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/vorlan_kidney.h"
#include "runtime/window.h"
#include "tests/support/player_fixture.h"

namespace vk {
namespace {

// Pump i's input comes from `script[i]`; a null holder has no picture; holders from `ready` on
// are not decoded yet.
class RecordingScreen : public Screen, public HolderSource {
 public:
  RecordingScreen() : holders(StandInHolders()) {}

  PictureRef Get(int i) override { return holders[i]; }
  bool Ready(int i) const override { return i < ready; }
  void Poll(Polled& polled) override {
    if (polls < script.size()) polled.input = script[polls];
    polled.any = !polled.input.empty();
    ++polls;
    log.push_back("poll");
  }
  void WaitForInput(SteadyClock::time_point) override { log.push_back("wait"); }
  void SleepUntil(SteadyClock::time_point) override {}
  bool Draw(const PictureRef&) override {
    log.push_back("draw");
    return true;
  }
  void Present() override { log.push_back("present"); }
  void Hide() override { log.push_back("hide"); }
  void Ended(int status, const std::string& message) override {
    log.push_back(std::to_string(status) + " " + message);
  }

  std::vector<PictureRef> holders;
  int ready = kHolders;
  std::vector<std::vector<InputEvent>> script;
  size_t polls = 0;
  std::vector<std::string> log;
};

// The loading's 23 pumps never wait; a playing loop presents each slide once and never waits;
// stopped, each pump waits for input instead of showing the same picture again; Escape hides
// the window and ends with status 0.
TEST(ScreenRuntimeTest, OnlyAStoppedPictureWaitsForInput) {
  RecordingScreen screen;
  screen.script.resize(60);
  screen.script[40] = {Key('/')};
  screen.script[59] = {Key(27)};
  ScreenRuntime runtime(screen, screen, ScreenRuntime::Pacing::kSleeps);
  VorlanKidney form(runtime);
  EXPECT_EQ(runtime.Run(form), 0);
  std::vector<std::string> before_stop, after_stop;
  size_t polls = 0;
  for (const std::string& entry : screen.log) {
    polls += entry == "poll";
    (polls <= 41 ? before_stop : after_stop).push_back(entry);
  }
  EXPECT_EQ(std::count(before_stop.begin(), before_stop.end(), "wait"), 0);
  // One slide back, then still: the rest of the pumps wait, and nothing is drawn again.
  EXPECT_EQ(std::count(after_stop.begin(), after_stop.end(), "draw"), 1);
  EXPECT_GE(std::count(after_stop.begin(), after_stop.end(), "wait"), 15);
  ASSERT_GE(screen.log.size(), 2u);
  EXPECT_EQ(screen.log[screen.log.size() - 2], "hide");
  EXPECT_EQ(screen.log.back(), "0 The player has ended.");
}

TEST(ScreenRuntimeTest, RunTimeErrorIsReportedWithItsNumberAndStatusOne) {
  RecordingScreen screen;
  screen.holders[4] = nullptr;
  ScreenRuntime runtime(screen, screen, ScreenRuntime::Pacing::kSleeps);
  VorlanKidney form(runtime);
  EXPECT_EQ(runtime.Run(form), 1);
  EXPECT_EQ(screen.log.back(), "1 Run-time error '481': Invalid picture: Image5");
}

// A page's loading waits, frame by frame, for a slide the browser has not decoded; playing, a
// frame shows at most one new picture.
TEST(ScreenRuntimeTest, FramesWaitForUndecodedSlidesAndShowOnePictureEach) {
  RecordingScreen screen;
  screen.ready = 3;
  ScreenRuntime runtime(screen, screen, ScreenRuntime::Pacing::kFrames);
  VorlanKidney form(runtime);
  runtime.Start(form, [&] { form.Step(); });
  const auto start = SteadyClock::now();
  int frame = 0;
  const auto run = [&] {
    const double ms = frame++ * 1000.0 / 60;
    const size_t drawn = std::count(screen.log.begin(), screen.log.end(), "draw");
    EXPECT_TRUE(runtime.RunFrame(ms, start + std::chrono::duration_cast<SteadyClock::duration>(
                                                 std::chrono::duration<double, std::milli>(ms))));
    return std::count(screen.log.begin(), screen.log.end(), "draw") - drawn;
  };
  for (int i = 0; i < 10; ++i) run();
  EXPECT_EQ(screen.polls, 2u);  // the pumps after holders 2 and 3; holder 4 is not ready
  screen.ready = kHolders;
  for (int i = 0; i < 600; ++i) EXPECT_LE(run(), 1) << "frame " << frame;
  EXPECT_GT(std::count(screen.log.begin(), screen.log.end(), "draw"), 50);
}

// At 60 Hz with the frames' usual jitter, slides due every 100 ms show exactly 6 frames apart,
// each in the frame nearest its deadline.
TEST(FramePeriodTest, EachSlideShowsInTheFrameNearestItsDeadline) {
  FramePeriod period;
  double deadline = 1000;
  std::vector<int> shown_frames;
  for (int frame = 0; frame < 600; ++frame) {
    const double time = 1000 + frame * 1000.0 / 60 + ((frame * 7) % 5 - 2) * 0.4;
    period.Frame(time);
    if (period.Shows(deadline, time)) {
      shown_frames.push_back(frame);
      deadline += 100;
    }
  }
  ASSERT_GT(shown_frames.size(), 90u);
  for (size_t i = 1; i < shown_frames.size(); ++i) {
    EXPECT_EQ(shown_frames[i] - shown_frames[i - 1], 6) << "slide " << i;
  }
  // A dropped frame does not stretch the period.
  period.Frame(1000 + 601 * 1000.0 / 60);
  period.Frame(1000 + 603 * 1000.0 / 60);
  EXPECT_NEAR(period.ms(), 1000.0 / 60, 1);
}

}  // namespace
}  // namespace vk
