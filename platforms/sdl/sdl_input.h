// SDL's events as Picture1's events: typed text as single-byte key codes, clicks, the pointer.
#pragma once

#include <SDL.h>

#include <vector>

#include "runtime/runtime.h"
#include "runtime/viewport.h"

namespace vk {

// The events of Picture1 that one SDL event makes, in order: KeyPress with the character code in
// a single-byte character set (Latin-1) for typed text, 27 for Escape, 13 for Enter, 8 for
// Backspace; Click when a single click's left button is released and DblClick on the second press
// of a double click; MouseMove with the pointer in Picture1's scale.
std::vector<InputEvent> TranslateEvent(const SDL_Event& event, const Viewport& viewport,
                                       const ScaleBlock& scale);

}  // namespace vk
