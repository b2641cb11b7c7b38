// The forms runtime as the player sees it: the events it raises into the form and the
// operations the form calls. Implemented by ScreenRuntime (every platform with a screen, each
// through its Screen) and HeadlessRuntime (tests, replay); the player reaches the world through
// nothing else.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/errors.h"
#include "runtime/picture.h"

namespace vk {

// The form's events. The runtime raises Activate once at start-up, and every other event only
// inside PumpEvents, one handler at a time and to completion.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Form_Activate() = 0;
  virtual void Picture1_Click() = 0;
  virtual void Picture1_DblClick() = 0;
  virtual void Picture1_KeyPress(int16_t& KeyAscii) = 0;
  // X and Y in Picture1's scale units: 0..14.8828058 across, 0..29.84375 down.
  virtual void Picture1_MouseMove(int16_t Button, int16_t Shift, float& X, float& Y) = 0;
};

class Runtime {
 public:
  virtual ~Runtime() = default;

  // The picture of image holder `holder` ("Image1" to "Image24") as a counted reference. A holder
  // that has no picture raises RuntimeError kInvalidPicture.
  virtual PictureRef HolderPicture(std::string_view holder) = 0;
  // Makes `picture` the picture of Picture1; it is on screen by the end of the next pump. A
  // negative result is a failure that the caller raises.
  virtual int32_t SetPicture(PictureRef picture) = 0;
  // Runs every pending event with the form's handlers, then returns; never waits for input.
  virtual void PumpEvents() = 0;
  // The window operation made just before ending; a negative result is a failure.
  virtual int32_t HideWindow() = 0;
  // Ends the program: throws ProgramEnd, so nothing after it runs.
  [[noreturn]] virtual void EndProgram() = 0;
  // The wait's busy count of `steps` count steps, asked for whole. No event is taken during it.
  // On a screen each step lasts kCountStep and the runtime sleeps through the count; the
  // headless runtime only counts.
  virtual void Count(uint64_t steps) = 0;
};

// The KeyPress codes of the keys that type no character.
constexpr int16_t kKeyBackspace = 8, kKeyEnter = 13, kKeyEscape = 27;

// One input event as the runtime raises it on Picture1.
struct InputEvent {
  enum class Type { kKeyPress, kMouseMove, kClick, kDblClick };
  Type type = Type::kClick;
  int16_t key = 0;  // kKeyPress
  float x = 0;      // kMouseMove, in Picture1's scale units
  float y = 0;
  int16_t button = 0;  // kMouseMove: buttons held (1 left, 2 right, 4 middle); not read
  int16_t shift = 0;   // kMouseMove: 1 Shift, 2 Ctrl, 4 Alt; not read
};

// Raises `event` into `form` with the arguments its handler takes.
void RaiseEvent(FormEvents& form, const InputEvent& event);

// The one-character text of a key code in the single-byte character set, or nothing for a code
// that has no such character (below 0 or above 255).
std::optional<char> CharacterOfKeyCode(int16_t code);

}  // namespace vk
