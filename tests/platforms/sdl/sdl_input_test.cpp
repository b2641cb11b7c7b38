// SDL events as the form receives them: key codes, clicks, and the pointer in Picture1's scale.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "platforms/sdl/sdl_input.h"

namespace vk {
namespace {

const ScaleBlock kScale{0, 0, 0, 14.8828058f, 29.84375f};
const Viewport kFull{0, 0, 1024, 768};

SDL_Event Text(const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
  return e;
}

SDL_Event KeyDown(SDL_Keycode sym) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = sym;
  return e;
}

SDL_Event Button(uint32_t type, uint8_t button, uint8_t clicks) {
  SDL_Event e{};
  e.type = type;
  e.button.button = button;
  e.button.clicks = clicks;
  return e;
}

SDL_Event Motion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}

std::vector<int> Keys(const SDL_Event& e) {
  std::vector<int> codes;
  for (const InputEvent& i : TranslateEvent(e, kFull, kScale)) {
    EXPECT_EQ(i.type, InputEvent::Type::kKeyPress);
    codes.push_back(i.key);
  }
  return codes;
}

TEST(SdlInputTest, TypedTextBecomesSingleByteKeyCodes) {
  EXPECT_EQ(Keys(Text("+")), std::vector<int>{43});
  EXPECT_EQ(Keys(Text("-/*., ")), (std::vector<int>{45, 47, 42, 46, 44, 32}));
  EXPECT_EQ(Keys(Text("aA1")), (std::vector<int>{97, 65, 49}));
  EXPECT_EQ(Keys(Text("\xC3\xA9")), std::vector<int>{233});       // é is Latin-1 233
  EXPECT_EQ(Keys(Text("\xE2\x82\xAC+")), std::vector<int>{43});   // € has no single byte
  EXPECT_EQ(Keys(Text("\xF0\x9F\x98\x80")), std::vector<int>{});  // nor does an emoji
  EXPECT_EQ(Keys(Text("\xC5\x93")), std::vector<int>{});          // œ is above 255
}

TEST(SdlInputTest, ControlKeysHaveTheirCodes) {
  EXPECT_EQ(Keys(KeyDown(SDLK_ESCAPE)), std::vector<int>{27});
  EXPECT_EQ(Keys(KeyDown(SDLK_RETURN)), std::vector<int>{13});
  EXPECT_EQ(Keys(KeyDown(SDLK_KP_ENTER)), std::vector<int>{13});
  EXPECT_EQ(Keys(KeyDown(SDLK_BACKSPACE)), std::vector<int>{8});
  // Printable keys arrive as text, not from their key-down, so they never count twice.
  EXPECT_EQ(Keys(KeyDown(SDLK_a)), std::vector<int>{});
  EXPECT_EQ(Keys(KeyDown(SDLK_KP_PLUS)), std::vector<int>{});
}

TEST(SdlInputTest, ClickOnReleaseDoubleClickOnSecondPress) {
  using T = InputEvent::Type;
  auto types = [](const SDL_Event& e) {
    std::vector<T> out;
    for (const InputEvent& i : TranslateEvent(e, kFull, kScale)) out.push_back(i.type);
    return out;
  };
  EXPECT_EQ(types(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1)), std::vector<T>{});
  EXPECT_EQ(types(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1)), std::vector<T>{T::kClick});
  EXPECT_EQ(types(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2)), std::vector<T>{T::kDblClick});
  EXPECT_EQ(types(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2)), std::vector<T>{});
  EXPECT_EQ(types(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3)), std::vector<T>{T::kClick});
  EXPECT_EQ(types(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1)), std::vector<T>{});
  EXPECT_EQ(types(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2)), std::vector<T>{});
}

InputEvent MoveAt(int x, int y, const Viewport& v = kFull) {
  const std::vector<InputEvent> events = TranslateEvent(Motion(x, y), v, kScale);
  EXPECT_EQ(events.size(), 1u);
  return events.empty() ? InputEvent{} : events[0];
}

TEST(SdlInputTest, PointerArrivesInPictureOnesScale) {
  const InputEvent origin = MoveAt(0, 0);
  EXPECT_EQ(origin.type, InputEvent::Type::kMouseMove);
  EXPECT_EQ(origin.x, 0.0f);
  EXPECT_EQ(origin.y, 0.0f);
  // The bottom-right pixel is just under the scale's extent: neither pixels nor twips.
  const InputEvent corner = MoveAt(1023, 767);
  EXPECT_EQ(corner.x, static_cast<float>(14.8828058f * 1023.0 / 1024));
  EXPECT_EQ(corner.y, static_cast<float>(29.84375 * 767.0 / 768));
  EXPECT_LT(corner.x, 14.8828058f);
  // Straight down changes y only; a y unit is about 2.7 times shorter on screen than an x unit.
  const InputEvent down = MoveAt(512, 100), lower = MoveAt(512, 357);
  EXPECT_EQ(down.x, lower.x);
  EXPECT_NEAR(lower.y - down.y, 10 * 1.0, 0.02);
  EXPECT_NEAR((MoveAt(69, 0).x - origin.x), 1.0, 0.01);
}

TEST(SdlInputTest, ScaledWindowKeepsTheScale) {
  // A window of 800 by 800: the picture is 800 by 600, 100 pixels below the top.
  const Viewport v = FitPicture(800, 800, 1024, 768);
  EXPECT_DOUBLE_EQ(v.x, 0);
  EXPECT_DOUBLE_EQ(v.y, 100);
  EXPECT_DOUBLE_EQ(v.width, 800);
  EXPECT_DOUBLE_EQ(v.height, 600);
  EXPECT_EQ(MoveAt(0, 100, v).y, 0.0f);
  EXPECT_EQ(MoveAt(400, 400, v).x, static_cast<float>(14.8828058f / 2));
  EXPECT_EQ(MoveAt(400, 400, v).y, static_cast<float>(29.84375f / 2));
  // A wide window centres the picture sideways.
  const Viewport wide = FitPicture(2048, 768, 1024, 768);
  EXPECT_DOUBLE_EQ(wide.x, 512);
  EXPECT_EQ(MoveAt(512 + 512, 384, wide).x, static_cast<float>(14.8828058f / 2));
  // The black border is not Picture1: no move there, on any side.
  for (const auto& [x, y] : {std::pair{10, 50}, {400, 700}}) {
    EXPECT_TRUE(TranslateEvent(Motion(x, y), v, kScale).empty()) << x << "," << y;
  }
  for (const int x : {0, 511, 1536, 2047}) {
    EXPECT_TRUE(TranslateEvent(Motion(x, 300), wide, kScale).empty()) << x;
  }
}

}  // namespace
}  // namespace vk
