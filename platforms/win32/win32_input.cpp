// Window messages as Picture1's events: Windows-1252 key codes, clicks, the pointer.
#include "platforms/win32/win32_input.h"

#include <windowsx.h>

#include <optional>

namespace vk {

namespace {

// The Windows-1252 code of a typed character, or nothing where it has none.
std::optional<int16_t> SingleByteCode(wchar_t c) {
  char byte = 0;
  BOOL defaulted = FALSE;
  if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &c, 1, &byte, 1, nullptr, &defaulted) != 1 ||
      defaulted) {
    return std::nullopt;
  }
  return static_cast<int16_t>(static_cast<unsigned char>(byte));
}

}  // namespace

std::vector<InputEvent> TranslateWindowMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                               const Viewport& viewport, const ScaleBlock& scale,
                                               ClickState* clicks) {
  std::vector<InputEvent> out;
  switch (message) {
    case WM_CHAR:
      if (const auto code = SingleByteCode(static_cast<wchar_t>(wparam))) {
        InputEvent key{InputEvent::Type::kKeyPress};
        key.key = *code;
        out.push_back(key);
      }
      break;
    case WM_LBUTTONDOWN:
      clicks->double_pressed = false;
      break;
    case WM_LBUTTONDBLCLK:
      clicks->double_pressed = true;
      out.push_back({InputEvent::Type::kDblClick});
      break;
    case WM_LBUTTONUP:
      if (!clicks->double_pressed) out.push_back({InputEvent::Type::kClick});
      clicks->double_pressed = false;
      break;
    case WM_MOUSEMOVE:
      if (auto move = PointerMove(
              GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), viewport, scale,
              {(wparam & MK_LBUTTON) != 0, (wparam & MK_RBUTTON) != 0, (wparam & MK_MBUTTON) != 0,
               (wparam & MK_SHIFT) != 0, (wparam & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0})) {
        out.push_back(*move);
      }
      break;
  }
  return out;
}

}  // namespace vk
