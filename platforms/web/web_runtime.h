// The player in a web page: the page's events in, Picture1's picture out on a canvas. This file
// pair and the entry point are the only files that include emscripten's headers.
#pragma once

#include <emscripten/html5.h>

#include <functional>
#include <string>
#include <vector>

#include "platforms/web/web_input.h"
#include "runtime/runtime.h"
#include "runtime/timing.h"
#include "runtime/window.h"

namespace vk {

// A page must not block: nothing paints and no input arrives while script runs. So each
// animation frame runs the form's steps that the clock has paid for (a count only moves the
// deadline on), and stops early once the picture changed or a pump found nothing to do. The
// browser decodes the slides off the main thread and keeps them as ImageBitmaps; the loading
// steps wait, a frame at a time, for the slide they take.
class WebRuntime : public Runtime {
 public:
  explicit WebRuntime(const WindowLayout& layout) : layout_(layout) {}

  // Takes the page's keys and the canvas's mouse events, and starts the frames.
  void Start(FormEvents& form, std::function<void()> step);

  PictureRef HolderPicture(std::string_view holder) override;
  int32_t SetPicture(PictureRef picture) override;
  void PumpEvents() override;
  int32_t HideWindow() override;
  [[noreturn]] void EndProgram() override;
  // Moves the deadline on by the count, from the last one; the frames wait for it.
  void Count(uint64_t steps) override;

  // For the page's callbacks.
  void Queue(const InputEvent& event) { queued_.push_back(event); }
  WebClicks& clicks() { return clicks_; }
  const ScaleBlock& scale() const { return layout_.scale; }
  // The frames begin, once the first holder's picture is on the canvas or could not be.
  void Begin();
  // The browser decoded holder `i`'s slide (`ok`), or could not.
  void Decoded(int i, bool ok);

 private:
  static EM_BOOL Frame(double time_ms, void* self);
  // One animation frame at the time the browser gives it; false once the player has ended.
  bool RunFrame(double time_ms);
  void Draw();
  void End(int status, const std::string& message);
  // The page's progress bar goes once the player plays, or has ended.
  void RemoveProgress();

  const WindowLayout& layout_;
  // Each holder's picture once the browser has decoded it; refused where it could not.
  std::vector<PictureRef> holders_ = std::vector<PictureRef>(kHolders);
  std::vector<bool> settled_ = std::vector<bool>(kHolders);
  int taken_ = 0;  // holders the form has taken, in order: the next must be settled first
  FormEvents* form_ = nullptr;
  std::function<void()> step_;
  std::vector<InputEvent> queued_;  // raised in the next pump
  WebClicks clicks_;
  FramePeriod period_;
  CountClock count_clock_;
  SteadyClock::time_point deadline_{};  // the last count's end: steps run once a frame reaches it
  SteadyClock::time_point frame_{};     // the moment the running frame stands for
  bool changed_ = false;                // Picture1 changed since the last pump
  bool still_ = false;                  // the last pump found no input and no new picture
  bool dirty_ = false;                  // Picture1 changed since it was drawn
  PictureRef picture1_;
  bool progress_removed_ = false;
};

}  // namespace vk
