// Window messages as Picture1's events: Windows-1252 key codes, clicks, the pointer.
#pragma once

#include <windows.h>

#include <vector>

#include "runtime/runtime.h"
#include "runtime/viewport.h"

namespace vk {

// What a single click still needs to know: whether the button's last press was a double
// click's second, whose release is no click.
struct ClickState {
  bool double_pressed = false;
};

// The events of Picture1 that one window message makes, in order: KeyPress from WM_CHAR with the
// character's Windows-1252 code (Escape 27, Enter 13, Backspace 8); Click when a single click's
// left button is released and DblClick on the second press of a double click; MouseMove with the
// pointer in Picture1's scale, none over the black border.
std::vector<InputEvent> TranslateWindowMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                               const Viewport& viewport, const ScaleBlock& scale,
                                               ClickState* clicks);

}  // namespace vk
