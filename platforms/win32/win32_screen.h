// The player's window on Windows: what the screen runtime needs of it, through window messages
// and GDI. Only the Windows room (these files, the entry point and the WIC slide decoder)
// includes <windows.h>.
#pragma once

#include <windows.h>

#include <string>

#include "platforms/win32/fine_sleep.h"
#include "platforms/win32/win32_input.h"
#include "platforms/win32/win32_painter.h"
#include "runtime/screen.h"
#include "runtime/viewport.h"
#include "runtime/window.h"

namespace vk {

class Win32Screen : public Screen {
 public:
  explicit Win32Screen(const WindowLayout& layout) : layout_(layout) {}
  ~Win32Screen() override;

  // Opens the window; false with a one-line `error` when it cannot.
  bool Open(std::string* error);
  SteadyClock::duration refresh() const override;
  void Poll(Polled& polled) override;
  void WaitForInput(SteadyClock::time_point deadline) override;
  void SleepUntil(SteadyClock::time_point deadline) override { sleep_.Until(deadline); }
  bool Draw(const PictureRef& picture) override;
  void Present() override;
  // A picture drawn fast while it moved is drawn again smoothly.
  void Still() override;
  void Hide() override { ShowWindow(window_, SW_HIDE); }
  // A run-time error goes to a message box.
  void Ended(int status, const std::string& message) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  // Hands the picture just drawn to the screen.
  void HandOver();
  // Gives the window the description's client area at its monitor's DPI.
  void SizeForDpi();
  // Borderless over the window's monitor, or back to the window's place and size.
  void ToggleFullScreen();

  const WindowLayout& layout_;
  HWND window_ = nullptr;
  FineSleep sleep_;
  Polled pending_;  // what WindowProc saw, handed over by the next poll
  ClickState clicks_;
  bool full_screen_ = false;
  WINDOWPLACEMENT placement_{};  // where full screen returns to
  GdiPainter painter_;
  PictureRef picture_;  // the picture drawn, kept while shown
};

}  // namespace vk
