// The player's window on a Linux desktop through SDL2: what the screen runtime needs of it. SDL
// lives in this room only.
#pragma once

#include <SDL.h>

#include <string>

#include "platforms/sdl/sdl_painter.h"
#include "runtime/screen.h"
#include "runtime/viewport.h"
#include "runtime/window.h"

namespace vk {

class SdlScreen : public Screen {
 public:
  explicit SdlScreen(const WindowLayout& layout) : layout_(layout) {}
  ~SdlScreen() override;

  // Opens the window; false with a one-line `error` when there is no display to open it on.
  bool Open(std::string* error);
  SteadyClock::duration refresh() const override;
  void Poll(Polled& polled) override;
  void WaitForInput(SteadyClock::time_point deadline) override;
  bool Draw(const PictureRef& picture) override {
    painter_.Draw(picture);
    return true;
  }
  void Present() override { painter_.Present(); }
  void Hide() override { SDL_HideWindow(window_); }
  // A run-time error goes to a message box as well.
  void Ended(int status, const std::string& message) override;

 private:
  void WindowEvent(uint8_t what, Polled& polled);
  // The frame the window manager draws around the window: its width and height together.
  PixelSize Frame() const;
  void FitWindow(bool place);
  void Resized();

  const WindowLayout& layout_;
  SDL_Window* window_ = nullptr;
  int dpi_ = kDefaultDpi;  // the desktop's scale the window is sized for
  bool framed_ = false;    // sized with the window manager's frame known
  Viewport viewport_;      // window coordinates, for the pointer
  SdlPainter painter_;
};

}  // namespace vk
