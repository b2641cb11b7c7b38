// SDL's events as Picture1's events: typed text as single-byte key codes, clicks, the pointer.
#include "platforms/sdl/sdl_input.h"

namespace vk {

namespace {

// The buttons of a motion's `state`, and the modifier keys held now.
Held HeldNow(uint32_t state) {
  const SDL_Keymod mod = SDL_GetModState();
  return {(state & SDL_BUTTON_LMASK) != 0, (state & SDL_BUTTON_RMASK) != 0,
          (state & SDL_BUTTON_MMASK) != 0, (mod & KMOD_SHIFT) != 0,
          (mod & KMOD_CTRL) != 0,          (mod & KMOD_ALT) != 0};
}

InputEvent Key(int16_t code) { return {InputEvent::Type::kKeyPress, code}; }

}  // namespace

std::vector<InputEvent> TranslateEvent(const SDL_Event& event, const Viewport& viewport,
                                       const ScaleBlock& scale) {
  std::vector<InputEvent> out;
  switch (event.type) {
    case SDL_TEXTINPUT: {
      // UTF-8 to Latin-1: code points above 255 have no single-byte character and are dropped.
      const auto* s = reinterpret_cast<const unsigned char*>(event.text.text);
      while (*s) {
        if (*s < 0x80) {
          out.push_back(Key(*s++));
        } else if ((*s & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80) {
          const int code = (*s & 0x1F) << 6 | (s[1] & 0x3F);
          if (code <= 255) out.push_back(Key(static_cast<int16_t>(code)));
          s += 2;
        } else {
          ++s;
          while ((*s & 0xC0) == 0x80) ++s;
        }
      }
      break;
    }
    case SDL_KEYDOWN:
      switch (event.key.keysym.sym) {
        case SDLK_ESCAPE:
          out.push_back(Key(kKeyEscape));
          break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
          out.push_back(Key(kKeyEnter));
          break;
        case SDLK_BACKSPACE:
          out.push_back(Key(kKeyBackspace));
          break;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      // A double click's second press; a third press starts a new single click.
      if (event.button.button == SDL_BUTTON_LEFT && event.button.clicks % 2 == 0) {
        out.push_back({InputEvent::Type::kDblClick});
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT && event.button.clicks % 2 == 1) {
        out.push_back({InputEvent::Type::kClick});
      }
      break;
    case SDL_MOUSEMOTION:
      if (auto move = PointerMove(event.motion.x, event.motion.y, viewport, scale,
                                  HeldNow(event.motion.state))) {
        out.push_back(*move);
      }
      break;
  }
  return out;
}

}  // namespace vk
