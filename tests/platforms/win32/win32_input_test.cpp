// Window messages as the form receives them: Windows-1252 key codes, clicks, the pointer.
#include <gtest/gtest.h>

#include "platforms/win32/win32_input.h"

namespace vk {
namespace {

const ScaleBlock kScale{0, 0, 0, 14.8828058f, 29.84375f};
const Viewport kFull{0, 0, 1024, 768};

std::vector<InputEvent> Translate(UINT message, WPARAM wparam, LPARAM lparam = 0,
                                  ClickState* clicks = nullptr) {
  ClickState none;
  return TranslateWindowMessage(message, wparam, lparam, kFull, kScale, clicks ? clicks : &none);
}

std::vector<int> Keys(wchar_t c) {
  std::vector<int> codes;
  for (const InputEvent& e : Translate(WM_CHAR, c)) codes.push_back(e.key);
  return codes;
}

TEST(Win32InputTest, CharactersBecomeWindows1252Codes) {
  EXPECT_EQ(Keys(L'+'), std::vector<int>{43});
  EXPECT_EQ(Keys(L' '), std::vector<int>{32});
  EXPECT_EQ(Keys(27), std::vector<int>{27});  // Escape
  EXPECT_EQ(Keys(L'\u00e9'), std::vector<int>{233});
  EXPECT_EQ(Keys(L'\u20ac'), std::vector<int>{128});  // the euro sign has a byte here
  EXPECT_EQ(Keys(L'\u0101'), std::vector<int>{});     // a-macron has none
  EXPECT_TRUE(Translate(WM_KEYDOWN, VK_F11).empty());
}

TEST(Win32InputTest, ClickOnReleaseDoubleClickOnSecondPress) {
  using T = InputEvent::Type;
  ClickState clicks;
  auto types = [&](UINT message) {
    std::vector<T> out;
    for (const InputEvent& e : Translate(message, 0, 0, &clicks)) out.push_back(e.type);
    return out;
  };
  EXPECT_EQ(types(WM_LBUTTONDOWN), std::vector<T>{});
  EXPECT_EQ(types(WM_LBUTTONUP), std::vector<T>{T::kClick});
  EXPECT_EQ(types(WM_LBUTTONDBLCLK), std::vector<T>{T::kDblClick});
  EXPECT_EQ(types(WM_LBUTTONUP), std::vector<T>{});  // the double click's release
  EXPECT_EQ(types(WM_LBUTTONDOWN), std::vector<T>{});
  EXPECT_EQ(types(WM_LBUTTONUP), std::vector<T>{T::kClick});
  EXPECT_EQ(types(WM_RBUTTONUP), std::vector<T>{});
}

TEST(Win32InputTest, PointerInPictureOnesScaleAndNoneOverTheBorder) {
  const std::vector<InputEvent> corner =
      Translate(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(1023, 767));
  ASSERT_EQ(corner.size(), 1u);
  EXPECT_EQ(corner[0].x, static_cast<float>(14.8828058f * 1023.0 / 1024));
  EXPECT_EQ(corner[0].y, static_cast<float>(29.84375 * 767.0 / 768));
  EXPECT_EQ(corner[0].button, 1);
  EXPECT_EQ(corner[0].shift, 1);
  ClickState clicks;
  const Viewport wide = FitPicture(2048, 768, 1024, 768);
  EXPECT_TRUE(
      TranslateWindowMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 300), wide, kScale, &clicks).empty());
}

}  // namespace
}  // namespace vk
