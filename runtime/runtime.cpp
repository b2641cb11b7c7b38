// Operations of the forms runtime that are the same for every runtime.
#include "runtime/runtime.h"

namespace vk {

std::optional<char> CharacterOfKeyCode(int16_t code) {
  if (code < 0 || code > 255) return std::nullopt;
  return static_cast<char>(static_cast<unsigned char>(code));
}

void RaiseEvent(FormEvents& form, const InputEvent& event) {
  switch (event.type) {
    case InputEvent::Type::kKeyPress: {
      int16_t key = event.key;
      form.Picture1_KeyPress(key);
      break;
    }
    case InputEvent::Type::kMouseMove: {
      float x = event.x;
      float y = event.y;
      form.Picture1_MouseMove(event.button, event.shift, x, y);
      break;
    }
    case InputEvent::Type::kClick:
      form.Picture1_Click();
      break;
    case InputEvent::Type::kDblClick:
      form.Picture1_DblClick();
      break;
  }
}

}  // namespace vk
