// A page's key and mouse events as the form's events: the same codes and clicks as on the
// desktop.
#include "platforms/web/web_input.h"

#include <algorithm>
#include <cmath>

namespace vk {

std::optional<int16_t> WebKeyCode(std::string_view key, bool command_modifier) {
  if (command_modifier) return std::nullopt;
  if (key == "Escape") return kKeyEscape;
  if (key == "Enter") return kKeyEnter;
  if (key == "Backspace") return kKeyBackspace;
  // One character in UTF-8: a byte below 128, or two bytes up to U+00FF.
  const auto* s = reinterpret_cast<const unsigned char*>(key.data());
  if (key.size() == 1 && s[0] >= 0x20 && s[0] < 0x7F) return s[0];
  if (key.size() == 2 && (s[0] & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80) {
    const int code = (s[0] & 0x1F) << 6 | (s[1] & 0x3F);
    if (code >= 0xA0 && code <= 0xFF) return static_cast<int16_t>(code);
  }
  return std::nullopt;
}

bool WebKeyIsCommand(int16_t code) {
  const std::optional<char> c = CharacterOfKeyCode(code);
  return code == kKeyEscape ||
         (c && std::string_view("-+,/* .").find(*c) != std::string_view::npos);
}

std::optional<InputEvent> WebClicks::Press(double time_ms, double x, double y, double distance) {
  const bool second = !double_pressed_ && last_press_ms_ &&
                      time_ms - *last_press_ms_ <= kDoubleClickMs &&
                      std::abs(x - last_x_) <= distance && std::abs(y - last_y_) <= distance;
  double_pressed_ = second;
  last_press_ms_ = time_ms, last_x_ = x, last_y_ = y;
  if (second) return InputEvent{InputEvent::Type::kDblClick};
  return std::nullopt;
}

std::optional<InputEvent> WebClicks::Release() {
  if (double_pressed_) return std::nullopt;
  return InputEvent{InputEvent::Type::kClick};
}

}  // namespace vk
