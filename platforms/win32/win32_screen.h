// The player's window on Windows: what the screen runtime needs of it, through window messages
// and GDI. Only the Windows room (these files, the entry point and the WIC slide decoder)
// includes <windows.h>.
#pragma once

#include <windows.h>

#include <string>

#include "platforms/win32/win32_input.h"
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
  // The display's refresh period.
  SteadyClock::duration refresh() const;

  void Poll(Polled& polled) override;
  void WaitForInput(SteadyClock::time_point deadline) override;
  // Sleeps until a millisecond before the deadline and yields the processor for the rest.
  void SleepUntil(SteadyClock::time_point deadline) override;
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
  void Paint(HDC dc, bool smooth);
  // Gives the window the description's client area at its monitor's DPI.
  void SizeForDpi();
  // Borderless over the window's monitor, or back to the window's place and size.
  void ToggleFullScreen();

  const WindowLayout& layout_;
  HWND window_ = nullptr;
  HANDLE timer_ = nullptr;    // a high-resolution waitable timer, where Windows has one
  bool fine_period_ = false;  // else timeBeginPeriod(1) makes Sleep fine enough
  Polled pending_;            // what WindowProc saw, handed over by the next poll
  ClickState clicks_;
  int client_width_ = 0, client_height_ = 0;
  bool full_screen_ = false;
  bool smooth_ = true;           // the window shows its picture scaled smoothly
  WINDOWPLACEMENT placement_{};  // where full screen returns to
  Viewport viewport_;
  PictureRef picture_;  // the picture drawn, kept while shown
};

}  // namespace vk
