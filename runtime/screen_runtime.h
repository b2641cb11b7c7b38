// The runtime of every platform with a screen, written once: the holders and Picture1, the
// count's deadlines, the still-picture wait, the present gate, the pump and the player's end. A
// platform supplies only a Screen (runtime/screen.h).
#pragma once

#include <functional>
#include <string>

#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/timing.h"

namespace vk {

class ScreenRuntime : public Runtime {
 public:
  // How the cycles are paced. A desktop sleeps through each count and presents in the pump. A
  // page must never block (nothing paints and no input arrives while script runs), so each of
  // its animation frames runs the cycles that the clock has paid for, a count only moving the
  // deadline on, and presents once at the frame's end.
  enum class Pacing { kSleeps, kFrames };

  // `screen`'s window is open.
  ScreenRuntime(Screen& screen, HolderSource& holders, Pacing pacing);

  // A desktop: raises the form's activation, which plays until the player ends; the program's
  // exit status (0, or 1 after a run-time error).
  int Run(FormEvents& form);
  // A page: `step` is the form's next piece of work, which RunFrame calls.
  void Start(FormEvents& form, std::function<void()> step);
  // One animation frame, at `time_ms` on the page's clock, standing for `frame` on the steady
  // clock: the steps due by the frame nearest their deadline, then the present; false once the
  // player has ended.
  bool RunFrame(double time_ms, SteadyClock::time_point frame);

  PictureRef HolderPicture(std::string_view holder) override;
  int32_t SetPicture(PictureRef picture) override;
  void PumpEvents() override;
  int32_t HideWindow() override;
  [[noreturn]] void EndProgram() override;
  void Count(uint64_t steps) override;

 private:
  // Runs `work` until it returns or the player ends; false once ended.
  bool Guarded(const std::function<void()>& work);
  // A changed picture goes to the screen at most once a refresh period, whole.
  void Present();

  Screen& screen_;
  HolderSource& holders_;
  const Pacing pacing_;
  FormEvents* form_ = nullptr;
  std::function<void()> step_;
  int status_ = 0;

  PictureRef picture1_;  // Picture1's picture: kept while shown
  int taken_ = 0;        // holders the form has taken, in order
  CountClock count_clock_;
  PresentGate gate_;
  bool changed_ = false;  // Picture1 changed since the last pump
  bool quiet_ = false;    // the last pump found no event
  bool counted_ = false;  // a count ran since the last pump: the loop, not the loading, pumps

  // A page's frames.
  FramePeriod period_;
  SteadyClock::time_point frame_{};     // the moment the running frame stands for
  SteadyClock::time_point deadline_{};  // the last count's end: steps run once a frame reaches it
  bool still_ = false;                  // the last pump found no event and no new picture
};

}  // namespace vk
