// The form VorlanKidney: loading, the endless playback loop and the four input handlers.
#pragma once

#include <array>
#include <cstdint>

#include "player/player_state.h"
#include "runtime/picture.h"
#include "runtime/runtime.h"

namespace vk {

// The player's only window. Its PlayerState fields are public members; the runtime raises its
// events. Activation never returns: the program ends from a handler or by a run-time error.
class VorlanKidney : public FormEvents, public PlayerState {
 public:
  static constexpr int kSlides = kHolders;

  explicit VorlanKidney(Runtime& runtime) : runtime_(runtime) {}

  // Loads the 24 slides into the frame store, gives the state its start values and plays: Step
  // for ever.
  void Form_Activate() override;
  // The activation's next piece of work: while loading, taking one holder's picture (and the
  // pump after it), then the start values with the last; after that one playback cycle. A host
  // that must not block (a web page) calls it itself, a few times a frame.
  void Step();
  void Picture1_Click() override;
  void Picture1_DblClick() override;
  void Picture1_KeyPress(int16_t& KeyAscii) override;
  void Picture1_MouseMove(int16_t Button, int16_t Shift, float& X, float& Y) override;

  // One cycle of the loop: apply the waiting command, move l, show the slide, WaitCycle.
  void PlaybackCycle();

 private:
  void ShowPicture(const PictureRef& picture);
  void WaitCycle();
  void Quit();  // hides the window and ends the program

  Runtime& runtime_;
  std::array<PictureRef, kSlides> FrameStore;
  int loaded_ = 0;  // holders taken into FrameStore
};

}  // namespace vk
