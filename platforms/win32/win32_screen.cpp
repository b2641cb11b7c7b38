// The player's window on Windows: opened at its monitor's scale, its messages taken, Picture1's
// picture drawn through GDI.
#include "platforms/win32/win32_screen.h"

#include <algorithm>
#include <cstdint>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
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

}  // namespace

Win32Screen::~Win32Screen() {
  if (window_) DestroyWindow(window_);
  UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}

bool Win32Screen::Open(std::string* error) {
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
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  return true;
}

SteadyClock::duration Win32Screen::refresh() const {
  int hertz = 0;
  if (HDC dc = GetDC(window_)) {
    hertz = GetDeviceCaps(dc, VREFRESH);
    ReleaseDC(window_, dc);
  }
  // 0 and 1 stand for the hardware's default rate, which is not told: taken as unknown.
  return RefreshPeriod(hertz > 1 ? hertz : 0);
}

void Win32Screen::SizeForDpi() {
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

void Win32Screen::ToggleFullScreen() {
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

void Win32Screen::Ended(int status, const std::string& message) {
  if (status != 0)
    MessageBoxW(window_, Wide(message).c_str(), L"Vorlan Kidney", MB_OK | MB_ICONERROR);
}

void Win32Screen::WaitForInput(SteadyClock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
  MsgWaitForMultipleObjects(0, nullptr, FALSE,
                            static_cast<DWORD>(std::max<int64_t>(0, left.count())), QS_ALLINPUT);
}

void Win32Screen::Poll(Polled& polled) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    pending_.any = true;
    TranslateMessage(&message);  // key presses make WM_CHAR
    DispatchMessageW(&message);
  }
  // The form's handlers run after this, outside WindowProc, so that ending the program never
  // unwinds through Windows' own frames.
  polled = std::move(pending_);
  pending_ = Polled{};
}

bool Win32Screen::Draw(const PictureRef& picture) {
  picture_ = picture;  // drawn when presented: what GDI draws is seen at once
  return true;
}

void Win32Screen::Present() {
  if (HDC dc = GetDC(window_)) {
    painter_.Paint(dc, picture_, false);
    ReleaseDC(window_, dc);
    HandOver();
  }
}

void Win32Screen::Still() {
  if (painter_.smooth()) return;
  if (HDC dc = GetDC(window_)) {
    painter_.Paint(dc, picture_, true);
    ReleaseDC(window_, dc);
  }
}

// Wine puts a window's drawing on the X screen only when the thread next looks at its queue, and
// the X server copies it from memory later still: looked at only in the next pump, right before the
// next picture is drawn into the same memory, a picture could be overwritten before it was seen.
// A look at the queue that waits for nothing hands it over at once.
void Win32Screen::HandOver() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

LRESULT CALLBACK Win32Screen::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Screen*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return DefWindowProcW(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT Win32Screen::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      pending_.close = true;  // acted on in the pump
      return 0;
    case WM_SIZE:
      if (wparam == SIZE_MINIMIZED) {
        pending_.shown = false;  // the loop goes on, but nobody sees a present
      } else {
        pending_.shown = true;
        painter_.Resize(LOWORD(lparam), HIWORD(lparam));
        pending_.repaint = true;
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window_, &paint)) {
        painter_.Paint(dc, picture_, painter_.smooth());
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
  for (const InputEvent& event : TranslateWindowMessage(
           message, wparam, lparam, painter_.viewport(), layout_.scale, &clicks_)) {
    pending_.input.push_back(event);
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace vk
