// A page's keys and clicks as the form receives them, the same as on the desktop.
#include "platforms/web/web_input.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

TEST(WebInputTest, KeysHaveTheDesktopsCodes) {
  EXPECT_EQ(WebKeyCode("+", false), 43);
  EXPECT_EQ(WebKeyCode(" ", false), 32);
  EXPECT_EQ(WebKeyCode("Escape", false), 27);
  EXPECT_EQ(WebKeyCode("Enter", false), 13);
  EXPECT_EQ(WebKeyCode("Backspace", false), 8);
  EXPECT_EQ(WebKeyCode("\xC3\xA9", false), 233);               // é is Latin-1 233
  EXPECT_EQ(WebKeyCode("\xE2\x82\xAC", false), std::nullopt);  // € has no Latin-1 byte
  EXPECT_EQ(WebKeyCode("F11", false), std::nullopt);           // the browser's
  EXPECT_EQ(WebKeyCode("r", true), std::nullopt);              // Ctrl+R reloads the page
}

TEST(WebInputTest, ClickOnReleaseDoubleClickOnSecondPress) {
  using T = InputEvent::Type;
  WebClicks clicks;
  auto type = [](std::optional<InputEvent> e) { return e ? static_cast<int>(e->type) : -1; };
  EXPECT_EQ(type(clicks.Press(1000, 10, 10)), -1);
  EXPECT_EQ(type(clicks.Release()), static_cast<int>(T::kClick));
  EXPECT_EQ(type(clicks.Press(1200, 11, 10)), static_cast<int>(T::kDblClick));
  EXPECT_EQ(type(clicks.Release()), -1);            // the double click's release
  EXPECT_EQ(type(clicks.Press(1300, 11, 10)), -1);  // a third press starts a new click
  EXPECT_EQ(type(clicks.Release()), static_cast<int>(T::kClick));
  EXPECT_EQ(type(clicks.Press(2000, 11, 10)), -1);  // too late for a double click
  EXPECT_EQ(type(clicks.Press(2100, 40, 10)), -1);  // too far
}

TEST(WebInputTest, DoubleClickBoundsOfTimeAndOfEachAxis) {
  const auto second = [](double ms, double x, double y) {
    WebClicks clicks;
    clicks.Press(1000, 100, 100);
    clicks.Release();
    const auto event = clicks.Press(1000 + ms, 100 + x, 100 + y);
    return event && event->type == InputEvent::Type::kDblClick;
  };
  EXPECT_TRUE(second(500, 0, 0));  // exactly at the time limit
  EXPECT_FALSE(second(501, 0, 0));
  EXPECT_TRUE(second(0, 4, 0));  // at the distance, on each axis alone
  EXPECT_TRUE(second(0, 0, -4));
  EXPECT_FALSE(second(0, 5, 0));
  EXPECT_FALSE(second(0, 0, 5));
  EXPECT_FALSE(second(0, -5, 0));
}

TEST(WebInputTest, OnlyThePlayersKeysAreKeptFromThePage) {
  for (const char* key : {"-", "+", ",", "/", "*", " ", ".", "Escape"}) {
    EXPECT_TRUE(WebKeyIsCommand(*WebKeyCode(key, false))) << key;
  }
  for (const char* key : {"a", "Enter", "Backspace", "=", "\xC3\xA9"}) {
    EXPECT_FALSE(WebKeyIsCommand(*WebKeyCode(key, false))) << key;
  }
}

// At 60 Hz with the frames' usual jitter, slides due every 100 ms show exactly 6 frames apart,
// each in the frame nearest its deadline.
TEST(WebInputTest, EachSlideShowsInTheFrameNearestItsDeadline) {
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
