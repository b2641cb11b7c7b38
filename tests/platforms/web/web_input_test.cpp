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

}  // namespace
}  // namespace vk
