// A page's key and mouse events as the form's events: the same codes and clicks as on the
// desktop. Plain C++, so that the tests run it anywhere.
#pragma once

#include <optional>
#include <string_view>

#include "runtime/runtime.h"

namespace vk {

// The KeyPress code of a KeyboardEvent's `key`: a single character's Latin-1 code, Escape 27,
// Enter 13, Backspace 8; nothing for other keys (F11, arrows, "€") or with Ctrl, Alt or Meta held,
// which belong to the browser.
std::optional<int16_t> WebKeyCode(std::string_view key, bool command_modifier);

// Whether the player answers the key of `code`: those keys are kept from the page (Space does
// not scroll it, nor the page around a frame); all others are left to the browser.
bool WebKeyIsCommand(int16_t code);

// Clicks as on the desktop: Click when a single click's left button is released, DblClick on the
// second press within the double-click time and distance, nothing on that press's release.
class WebClicks {
 public:
  static constexpr double kDoubleClickMs = 500;  // Windows' default
  static constexpr double kDoubleClickDistance = 4;
  static constexpr double kDoubleTapDistance = 24;  // a finger lands less exactly than a mouse

  std::optional<InputEvent> Press(double time_ms, double x, double y,
                                  double distance = kDoubleClickDistance);
  std::optional<InputEvent> Release();

 private:
  std::optional<double> last_press_ms_;
  double last_x_ = 0, last_y_ = 0;
  bool double_pressed_ = false;
};

}  // namespace vk
