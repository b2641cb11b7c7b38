// The player's window on Windows: window messages in, Picture1's picture out through GDI. Only
// the Windows room (this file pair, the entry point and the WIC slide decoder) includes
// <windows.h>.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/slides.h"
#include "runtime/timing.h"
#include "runtime/viewport.h"
#include "runtime/window.h"

namespace vk {

// What a single click still needs to know: whether the button's last press was a double
// click's second, whose release is no click.
struct ClickState {
  bool double_pressed = false;
};

// The events of Picture1 that one window message makes, in order: KeyPress from WM_CHAR with the
// character's Windows-1252 code (Escape 27, Enter 13, Backspace 8); Click when a single click's
// left button is released and DblClick on the second press of a double click; MouseMove with the
// pointer in Picture1's scale, none over the black border.
std::vector<InputEvent> TranslateWindowMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                               const Viewport& viewport, const ScaleBlock& scale,
                                               ClickState* clicks);

class Win32Runtime : public Runtime {
 public:
  Win32Runtime(const WindowLayout& layout, SlidePictures& pictures)
      : layout_(layout), pictures_(pictures) {}
  ~Win32Runtime() override;

  // Opens the window; false with a one-line `error` when it cannot.
  bool Open(std::string* error);
  // Raises the form's activation event; the form's exceptions pass to the caller.
  void Activate(FormEvents& form);
  // Reports a run-time error in a message box.
  void ReportError(const RuntimeError& error);

  PictureRef HolderPicture(std::string_view holder) override;
  int32_t SetPicture(PictureRef picture) override;
  void PumpEvents() override;
  int32_t HideWindow() override;
  [[noreturn]] void EndProgram() override;
  // Sleeps until the count's deadline, which follows the last one; messages wait in the queue.
  void Count(uint64_t steps) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void SleepUntil(SteadyClock::time_point deadline);
  // Hands the picture just drawn to the screen.
  void HandOver();
  void Draw(HDC dc, bool smooth);
  // Gives the window the description's client area at its monitor's DPI.
  void SizeForDpi();
  // Borderless over the window's monitor, or back to the window's place and size.
  void ToggleFullScreen();

  const WindowLayout& layout_;
  SlidePictures& pictures_;
  CountClock count_clock_;
  PresentGate gate_{RefreshPeriod(0)};
  bool still_ = false;    // Picture1 unchanged and no message since the last pump
  bool counted_ = false;  // a count ran since the last pump: the loop, not the loading, pumps
  FormEvents* form_ = nullptr;

  HWND window_ = nullptr;
  HANDLE timer_ = nullptr;           // a high-resolution waitable timer, where Windows has one
  bool fine_period_ = false;         // else timeBeginPeriod(1) makes Sleep fine enough
  std::vector<InputEvent> pending_;  // events made inside WindowProc, raised after it returns
  ClickState clicks_;
  bool close_asked_ = false;
  int client_width_ = 0, client_height_ = 0;
  bool full_screen_ = false;
  bool smooth_ = true;           // the window shows its picture scaled smoothly
  WINDOWPLACEMENT placement_{};  // where full screen returns to
  Viewport viewport_;
  PictureRef picture1_;  // Picture1's picture: kept while shown
};

}  // namespace vk
