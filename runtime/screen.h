// What a platform with a screen supplies, and nothing more: the list a new platform implements.
// ScreenRuntime (runtime/screen_runtime.h) does everything else. Implemented by SdlScreen
// (Linux), Win32Screen (Windows), WebScreen (the page) and the tests' recording screen.
#pragma once

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/picture.h"
#include "runtime/runtime.h"
#include "runtime/timing.h"

namespace vk {

// What one poll of the platform's events found.
struct Polled {
  std::vector<InputEvent> input;  // Picture1's events, in the order they came
  bool any = false;               // some event came at all: the picture is not still
  bool repaint = false;           // the window lost what it showed (exposed, resized)
  std::optional<bool> shown;      // hidden or minimised (false), or shown again (true)
  bool close = false;             // closed by its close button or by the desktop
};

// Where the holders' pictures come from: decoded by SlidePictures, or by the browser.
class HolderSource {
 public:
  virtual ~HolderSource() = default;
  // Holder i's picture (from 0), or null when it has none; may wait while it is decoded.
  virtual PictureRef Get(int i) = 0;
  // Whether Get(i) returns without waiting; a page, which must never block, asks first.
  virtual bool Ready(int /*i*/) const { return true; }
};

class Screen {
 public:
  virtual ~Screen() = default;
  // The display's refresh period, asked once the window is open.
  virtual SteadyClock::duration refresh() const { return RefreshPeriod(0); }
  // Turns the window's pending events into `polled`; never waits.
  virtual void Poll(Polled& polled) = 0;
  // Waits until an event arrives or `deadline` passes. A page never waits.
  virtual void WaitForInput(SteadyClock::time_point deadline) = 0;
  // Sleeps until `deadline`, taking no event.
  virtual void SleepUntil(SteadyClock::time_point deadline) {
    std::this_thread::sleep_until(deadline);
  }
  // Readies `picture` (null: none) for the screen, scaled into the viewport with black around
  // it, unseen until Present; false when nothing was drawn (a hidden page).
  virtual bool Draw(const PictureRef& picture) = 0;
  // Puts what Draw readied on the screen.
  virtual void Present() = 0;
  // The picture stayed unchanged through a pump: a screen may now draw it at its best.
  virtual void Still() {}
  // Hides the window as the player ends.
  virtual void Hide() = 0;
  // The player has ended (status 0) or stopped on the run-time error `message` (status 1).
  virtual void Ended(int status, const std::string& message) = 0;
  // The loading is over and the loop runs.
  virtual void Loaded() {}
};

}  // namespace vk
