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

}  // namespace
}  // namespace vk
