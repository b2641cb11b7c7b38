// The runtime of every platform with a screen, written once.
#include "runtime/screen_runtime.h"

#include <algorithm>
#include <cstdio>

#include "runtime/window.h"

namespace vk {

ScreenRuntime::ScreenRuntime(Screen& screen, HolderSource& holders, Pacing pacing)
    : screen_(screen),
      holders_(holders),
      pacing_(pacing),
      // A page presents once a frame, at its end: the frames themselves keep the refresh.
      gate_(pacing == Pacing::kFrames ? SteadyClock::duration::zero() : screen.refresh()) {}

int ScreenRuntime::Run(FormEvents& form) {
  form_ = &form;
  Guarded([&] { form.Form_Activate(); });
  return status_;
}

void ScreenRuntime::Start(FormEvents& form, std::function<void()> step) {
  form_ = &form;
  step_ = std::move(step);
}

bool ScreenRuntime::Guarded(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const ProgramEnd&) {
    status_ = 0;
    screen_.Ended(0, "The player has ended.");
  } catch (const RuntimeError& e) {
    const std::string text = "Run-time error '" + std::to_string(e.number()) + "': " + e.what();
    std::fprintf(stderr, "%s\n", text.c_str());
    status_ = 1;
    screen_.Ended(1, text);
  }
  return false;
}

bool ScreenRuntime::RunFrame(double time_ms, SteadyClock::time_point frame) {
  period_.Frame(time_ms);
  frame_ = frame;
  const auto to_ms = [&](SteadyClock::time_point t) {
    return time_ms + std::chrono::duration<double, std::milli>(t - frame_).count();
  };
  // A frame's steps stop well inside the frame, so that the browser still paints it.
  const auto budget = SteadyClock::now() + std::chrono::milliseconds(8);
  still_ = false;
  bool shown = false;  // at most one new picture a frame: the one due nearest this frame
  const bool playing = Guarded([&] {
    // A loading step waits, frame by frame, until the slide it takes is ready.
    while (period_.Shows(to_ms(deadline_), time_ms) && !still_ && !shown &&
           (taken_ >= kHolders || holders_.Ready(taken_)) && SteadyClock::now() < budget) {
      const PictureRef before = picture1_;
      step_();
      shown = picture1_ != before;
    }
  });
  if (playing) Present();
  return playing;
}

PictureRef ScreenRuntime::HolderPicture(std::string_view holder) {
  const int i = HolderIndex(holder);
  if (i >= 0) taken_ = std::max(taken_, i + 1);
  PictureRef picture = i < 0 ? nullptr : holders_.Get(i);
  if (!picture) throw NoPictureError(std::string(holder));
  if (i == kHolders - 1) screen_.Loaded();
  return picture;
}

int32_t ScreenRuntime::SetPicture(PictureRef picture) {
  if (picture != picture1_) {
    changed_ = true;
    gate_.Changed();
  }
  picture1_ = std::move(picture);
  return 0;
}

void ScreenRuntime::Count(uint64_t steps) {
  if (pacing_ == Pacing::kFrames) {
    // A page held up (a hidden tab) starts again from the frame rather than racing to catch up.
    deadline_ = count_clock_.Next(frame_, steps);
    return;
  }
  screen_.SleepUntil(count_clock_.Next(SteadyClock::now(), steps));
  counted_ = true;
}

void ScreenRuntime::PumpEvents() {
  // A still picture and no input since the last cycle's pump: rather than run thousands of cycles
  // a second that show the same picture again (a short wait while stopped), wait up to one refresh
  // period for input. Input ends that wait at once, so nothing is taken later than before. The
  // loading's pumps, between which nothing is counted, never wait.
  if (quiet_ && !changed_ && counted_) screen_.WaitForInput(SteadyClock::now() + gate_.period());
  counted_ = false;
  Polled polled;
  screen_.Poll(polled);
  still_ = !polled.any && !changed_;
  quiet_ = !polled.any;
  changed_ = false;
  if (polled.repaint) gate_.Changed();
  if (polled.shown) gate_.SetShown(*polled.shown);
  for (const InputEvent& event : polled.input) RaiseEvent(*form_, event);
  if (polled.close) {
    // The window was closed: the program ends as Escape ends it, rather than playing unseen.
    HideWindow();
    EndProgram();
  }
  if (pacing_ == Pacing::kSleeps) Present();
}

void ScreenRuntime::Present() {
  const auto due = gate_.Due(SteadyClock::now());
  if (!due) {
    if (quiet_ && gate_.shown()) screen_.Still();
    return;
  }
  // Drawn first, so that only putting it on the screen waits for the refresh. A hidden window
  // draws nothing but keeps the same time, so that hiding it never makes the loop cost more; a
  // page that could not draw keeps the picture for its next frame.
  const bool drawn = gate_.shown() && screen_.Draw(picture1_);
  if (pacing_ == Pacing::kSleeps) screen_.SleepUntil(*due);
  if (drawn) screen_.Present();
  if (drawn || !gate_.shown()) gate_.Presented(*due);
}

int32_t ScreenRuntime::HideWindow() {
  screen_.Hide();
  return 0;
}

void ScreenRuntime::EndProgram() { throw ProgramEnd{}; }

}  // namespace vk
