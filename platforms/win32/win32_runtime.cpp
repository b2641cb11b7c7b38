// The player's window on Windows: window messages in, Picture1's picture out through GDI.
#include "platforms/win32/win32_runtime.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace vk {

namespace {

constexpr wchar_t kClassName[] = L"VorlanKidney";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

// Functions of Windows 10's per-monitor DPI, looked up so that older Windows still run the program.
template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The DPI of the window's monitor; the system's where Windows has no per-monitor DPI.
int WindowDpi(HWND window) {
  static const auto for_window = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (for_window) {
    if (const UINT dpi = for_window(window)) return static_cast<int>(dpi);
  }
  int dpi = kDefaultDpi;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : kDefaultDpi;
}

// The window's outer rectangle for a client rectangle, with the frame drawn at `dpi`.
RECT FrameFor(RECT client, int dpi) {
  static const auto for_dpi =
      User32<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (!for_dpi || !for_dpi(&client, kStyle, FALSE, 0, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&client, kStyle, FALSE, 0);
  }
  return client;
}

std::wstring Wide(const std::string& text) {
  std::wstring out(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()));
  out.pop_back();  // the terminating null
  return out;
}

// The Windows-1252 code of a typed character, or nothing where it has none.
std::optional<int16_t> SingleByteCode(wchar_t c) {
  char byte = 0;
  BOOL defaulted = FALSE;
  if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &c, 1, &byte, 1, nullptr, &defaulted) != 1 ||
      defaulted) {
    return std::nullopt;
  }
  return static_cast<int16_t>(static_cast<unsigned char>(byte));
}

}  // namespace

std::vector<InputEvent> TranslateWindowMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                               const Viewport& viewport, const ScaleBlock& scale,
                                               ClickState* clicks) {
  std::vector<InputEvent> out;
  switch (message) {
    case WM_CHAR:
      if (const auto code = SingleByteCode(static_cast<wchar_t>(wparam))) {
        InputEvent key{InputEvent::Type::kKeyPress};
        key.key = *code;
        out.push_back(key);
      }
      break;
    case WM_LBUTTONDOWN:
      clicks->double_pressed = false;
      break;
    case WM_LBUTTONDBLCLK:
      clicks->double_pressed = true;
      out.push_back({InputEvent::Type::kDblClick});
      break;
    case WM_LBUTTONUP:
      if (!clicks->double_pressed) out.push_back({InputEvent::Type::kClick});
      clicks->double_pressed = false;
      break;
    case WM_MOUSEMOVE:
      if (auto move = PointerMove(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), viewport, scale)) {
        move->button =
            static_cast<int16_t>(((wparam & MK_LBUTTON) ? 1 : 0) | ((wparam & MK_RBUTTON) ? 2 : 0) |
                                 ((wparam & MK_MBUTTON) ? 4 : 0));
        move->shift =
            static_cast<int16_t>(((wparam & MK_SHIFT) ? 1 : 0) | ((wparam & MK_CONTROL) ? 2 : 0) |
                                 (GetKeyState(VK_MENU) < 0 ? 4 : 0));
        out.push_back(*move);
      }
      break;
  }
  return out;
}

Win32Runtime::~Win32Runtime() {
  if (window_) DestroyWindow(window_);
  UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
  if (fine_period_) timeEndPeriod(1);
  if (timer_) CloseHandle(timer_);
}

bool Win32Runtime::Open(std::string* error) {
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                  TIMER_ALL_ACCESS);
  if (!timer_) fine_period_ = timeBeginPeriod(1) == TIMERR_NOERROR;

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_DBLCLKS;  // double clicks arrive as WM_LBUTTONDBLCLK
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = nullptr;  // every paint covers the whole client area
  window_class.lpszClassName = kClassName;
  if (!RegisterClassExW(&window_class)) {
    *error = "cannot open the window (its class was refused)";
    return false;
  }
  // Made hidden where the description places it; its size then follows that monitor's DPI.
  const Rect& client = layout_.client;
  window_ = CreateWindowExW(
      0, kClassName, Wide(layout_.caption).c_str(), kStyle, TwipsToPixels(client.left, kDefaultDpi),
      TwipsToPixels(client.top, kDefaultDpi), TwipsToPixels(client.width, kDefaultDpi),
      TwipsToPixels(client.height, kDefaultDpi), nullptr, nullptr, instance, this);
  if (!window_) {
    *error = "cannot open the window";
    return false;
  }
  SizeForDpi();
  if (HDC dc = GetDC(window_)) {
    // 0 and 1 stand for the hardware's default rate, which is not told: taken as unknown.
    const int hertz = GetDeviceCaps(dc, VREFRESH);
    gate_ = PresentGate(RefreshPeriod(hertz > 1 ? hertz : 0));
    ReleaseDC(window_, dc);
  }
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  return true;
}

void Win32Runtime::SizeForDpi() {
  const int dpi = WindowDpi(window_);
  const RECT frame = FrameFor(RECT{0, 0, 0, 0}, dpi);  // the frame's extent on each side
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  PixelSize room{INT32_MAX, INT32_MAX};
  if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    room = {work.right - work.left - (frame.right - frame.left),
            work.bottom - work.top - (frame.bottom - frame.top)};
  }
  const PixelSize size = ClientSize(layout_.client, dpi, room);
  const RECT outer = FrameFor(RECT{0, 0, size.width, size.height}, dpi);
  SetWindowPos(window_, nullptr, TwipsToPixels(layout_.client.left, dpi),
               TwipsToPixels(layout_.client.top, dpi), outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // Frames differ from what AdjustWindowRectEx expects on some desktops (and under Wine): correct
  // the outer size once by what the client area lacks.
  RECT client;
  GetClientRect(window_, &client);
  const int lack_x = size.width - client.right, lack_y = size.height - client.bottom;
  if (lack_x != 0 || lack_y != 0) {
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + lack_x,
                 outer.bottom - outer.top + lack_y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Runtime::ToggleFullScreen() {
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  if (full_screen_) {
    SetWindowLongPtrW(window_, GWL_STYLE, (style & ~WS_POPUP) | kStyle);
    SetWindowPlacement(window_, &placement_);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    full_screen_ = false;
    return;
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  placement_.length = sizeof placement_;
  if (!GetWindowPlacement(window_, &placement_) ||
      !GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const RECT& whole = monitor.rcMonitor;
  SetWindowLongPtrW(window_, GWL_STYLE, (style & ~kStyle) | WS_POPUP);
  SetWindowPos(window_, HWND_TOP, whole.left, whole.top, whole.right - whole.left,
               whole.bottom - whole.top, SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
  full_screen_ = true;
}

void Win32Runtime::Activate(FormEvents& form) {
  form_ = &form;
  form.Form_Activate();
}

void Win32Runtime::ReportError(const RuntimeError& error) {
  const std::string text =
      "Run-time error '" + std::to_string(error.number()) + "': " + error.what();
  std::fprintf(stderr, "%s\n", text.c_str());
  MessageBoxW(window_, Wide(text).c_str(), L"Vorlan Kidney", MB_OK | MB_ICONERROR);
}

PictureRef Win32Runtime::HolderPicture(std::string_view holder) {
  const int i = HolderIndex(holder);
  PictureRef picture = i < 0 ? nullptr : pictures_.Get(i);
  if (!picture) throw NoPictureError(std::string(holder));
  return picture;
}

int32_t Win32Runtime::SetPicture(PictureRef picture) {
  if (picture != picture1_) {
    still_ = false;
    gate_.Changed();
  }
  picture1_ = std::move(picture);
  return 0;
}

void Win32Runtime::Count(uint64_t steps) {
  SleepUntil(count_clock_.Next(SteadyClock::now(), steps));
  counted_ = true;
}

// Sleeps until a millisecond before the deadline, on the high-resolution timer or else with
// Sleep, and yields the processor for the rest: either wakes up to a millisecond late, and under
// Wine by an amount that drifts, which would make the slides' intervals uneven.
void Win32Runtime::SleepUntil(SteadyClock::time_point deadline) {
  constexpr auto kYielded = std::chrono::milliseconds(1);
  for (;;) {
    const auto left = deadline - SteadyClock::now();
    if (left <= SteadyClock::duration::zero()) return;
    const auto asleep = left - kYielded;
    const int64_t ticks =  // 100 ns units
        std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 10000000>>>(asleep)
            .count();
    if (ticks > 0 && timer_) {
      LARGE_INTEGER due;
      due.QuadPart = -ticks;  // negative: relative
      if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
        WaitForSingleObject(timer_, INFINITE);
        continue;
      }
    }
    if (const int64_t ms = ticks / 10000; ms >= 1) {
      Sleep(static_cast<DWORD>(std::min<int64_t>(ms, INFINITE - 1)));
    } else {
      SwitchToThread();
    }
  }
}

void Win32Runtime::PumpEvents() {
  // A still picture and no input since the last cycle's pump: wait up to one refresh period for a
  // message rather than show the same picture again thousands of times a second. The loading's
  // pumps, between which nothing is counted, never wait.
  if (still_ && counted_) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(gate_.period() / std::chrono::milliseconds(1)),
                              QS_ALLINPUT);
  }
  still_ = true;
  counted_ = false;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    still_ = false;
    TranslateMessage(&message);  // key presses make WM_CHAR
    DispatchMessageW(&message);
    // Handlers run here, outside WindowProc, so that ending the program never unwinds through
    // Windows' own frames.
    std::vector<InputEvent> events;
    events.swap(pending_);
    for (const InputEvent& event : events) RaiseEvent(*form_, event);
    if (close_asked_) {
      // Closed by its close button or by the desktop: the program ends as Escape ends it.
      HideWindow();
      EndProgram();
    }
  }
  if (const auto due = gate_.Due(SteadyClock::now())) {
    SleepUntil(*due);
    if (HDC dc = gate_.shown() ? GetDC(window_) : nullptr) {
      Draw(dc, false);
      ReleaseDC(window_, dc);
      HandOver();
    }
    gate_.Presented(*due);
  } else if (still_ && !smooth_ && gate_.shown()) {
    // A still picture, drawn fast while it moved, is drawn again smoothly.
    if (HDC dc = GetDC(window_)) {
      Draw(dc, true);
      ReleaseDC(window_, dc);
    }
  }
}

// Wine puts a window's drawing on the X screen only when the thread next looks at its queue, and
// the X server copies it from memory later still: looked at only in the next pump, right before the
// next picture is drawn into the same memory, a picture could be overwritten before it was seen.
// A look at the queue that waits for nothing hands it over at once.
void Win32Runtime::HandOver() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

LRESULT CALLBACK Win32Runtime::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Runtime*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return DefWindowProcW(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT Win32Runtime::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      close_asked_ = true;  // acted on in the pump
      return 0;
    case WM_SIZE:
      if (wparam == SIZE_MINIMIZED) {
        gate_.SetShown(false);  // the loop goes on, but nobody sees a present
      } else {
        gate_.SetShown(true);
        client_width_ = LOWORD(lparam), client_height_ = HIWORD(lparam);
        viewport_ = FitPicture(client_width_, client_height_, SlidePictures::kWidth,
                               SlidePictures::kHeight);
        gate_.Changed();
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window_, &paint)) {
        Draw(dc, smooth_);
        EndPaint(window_, &paint);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // Draw covers everything
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the size the system suggests keeps the window's
      // physical size there.
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_KEYDOWN:
      // F11 carries no character, so the form never hears of it; a held key toggles once.
      if (wparam == VK_F11 && !(lparam & (1 << 30))) ToggleFullScreen();
      break;
  }
  for (const InputEvent& event :
       TranslateWindowMessage(message, wparam, lparam, viewport_, layout_.scale, &clicks_)) {
    pending_.push_back(event);
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

// Picture1's pixels scaled into the viewport, and black around them.
void Win32Runtime::Draw(HDC dc, bool smooth) {
  const RECT client{0, 0, client_width_, client_height_};
  const int x = static_cast<int>(viewport_.x + 0.5), y = static_cast<int>(viewport_.y + 0.5);
  const int w = static_cast<int>(viewport_.width + 0.5),
            h = static_cast<int>(viewport_.height + 0.5);
  const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT bands[] = {{0, 0, client.right, y},
                        {0, y + h, client.right, client.bottom},
                        {0, y, x, y + h},
                        {x + w, y, client.right, y + h}};
  for (const RECT& band : bands) {
    if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, black);
  }
  if (!picture1_ || picture1_->format != Picture::Format::kBgrx) {
    smooth_ = true;
    const RECT picture{x, y, x + w, y + h};
    FillRect(dc, &picture, black);
    return;
  }
  const Picture& p = *picture1_;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.stride[0] / 4;
  info.bmiHeader.biHeight = -p.height;  // rows top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Scaled smoothly (GDI's halftone, some tens of milliseconds a picture), or by the nearest
  // pixel, which keeps the pace while the picture moves; a picture at its own size is copied.
  const bool scaled = w != p.width || h != p.height;
  smooth_ = smooth || !scaled;
  SetStretchBltMode(dc, scaled && smooth ? HALFTONE : COLORONCOLOR);
  if (scaled && smooth) SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, x, y, w, h, 0, 0, p.width, p.height, p.plane[0], &info, DIB_RGB_COLORS,
                SRCCOPY);
}

int32_t Win32Runtime::HideWindow() {
  ShowWindow(window_, SW_HIDE);
  return 0;
}

void Win32Runtime::EndProgram() { throw ProgramEnd{}; }

}  // namespace vk
