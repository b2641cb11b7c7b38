// The player's window on a Linux desktop through SDL2: opened at the desktop's scale, its events
// polled, waited for and turned into the form's.
#include "platforms/sdl/sdl_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platforms/sdl/desktop_x11.h"
#include "platforms/sdl/sdl_input.h"

namespace vk {

namespace {

// The window icon: the three-lobed cam with its red bar, 32 by 32.
SDL_Surface* MakeIcon() {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_RGBA32);
  if (!icon) return nullptr;
  auto* pixels = static_cast<uint32_t*>(icon->pixels);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double dx = x + 0.5 - 16, dy = 16 - (y + 0.5);
      const double theta = std::atan2(dy, dx);
      const double outline = 11 + 4 * std::cos(3 * (theta - M_PI / 2));
      uint8_t r = 0, g = 0, b = 0, a = 0;
      if (std::abs(dy) < 1.5 && std::abs(dx) < 14) {
        r = 255, a = 255;
      } else if (std::hypot(dx, dy) < outline) {
        r = g = b = 205, a = 255;
      }
      pixels[y * icon->pitch / 4 + x] = SDL_MapRGBA(icon->format, r, g, b, a);
    }
  }
  return icon;
}

// Settings that must be made before SDL starts; each spares start-up a cost the player does not
// need. The user's own environment settings win.
void PrepareSdl(bool software) {
  FilterGoneWindowErrors();
  if (software) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Outside a Wayland session only X11 can show the window; probing Wayland there costs time and
  // prints its own complaint.
  if (!std::getenv("WAYLAND_DISPLAY")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  // Text input opens an X input method, which parses the locale's whole compose table (about
  // 17 ms). The player's commands are plain characters and need no composing. Only for X11, which
  // SDL tries first where there is an X display: Wayland's keyboard reads the same variable and
  // complains of the empty file.
  const char* driver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (driver ? std::strncmp(driver, "x11", 3) == 0 : std::getenv("DISPLAY") != nullptr) {
    setenv("XCOMPOSEFILE", "/dev/null", /*overwrite=*/0);
  }
  // Without a session bus, the screensaver inhibition would have the bus library try to launch
  // one; a desktop session has its address set and is left alone.
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", /*overwrite=*/0);
}

}  // namespace

SdlScreen::~SdlScreen() {
  painter_.Close();
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlScreen::Open(std::string* error) {
  // Without a GPU the slides go straight into the window's X11 framebuffer.
  const bool software = WithoutGpu();
  PrepareSdl(software);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    *error = std::string("no display to open the window on (") + SDL_GetError() + ")";
    return false;
  }
  // With no display SDL falls back to drivers that show nothing; a player nobody can see or
  // stop must not start.
  const std::string driver = SDL_GetCurrentVideoDriver();
  if (driver == "offscreen" || driver == "dummy") {
    *error = "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY reaches one)";
    return false;
  }
  // Made hidden, so that it is shown once at the size of the desktop's scale.
  const Rect& client = layout_.client;
  window_ = SDL_CreateWindow(layout_.caption.c_str(), TwipsToPixels(client.left, kDefaultDpi),
                             TwipsToPixels(client.top, kDefaultDpi),
                             TwipsToPixels(client.width, kDefaultDpi),
                             TwipsToPixels(client.height, kDefaultDpi),
                             SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window_) {
    *error = std::string("cannot open the window: ") + SDL_GetError();
    return false;
  }
  dpi_ = DesktopDpi(window_);
  FitWindow(true);
  SDL_ShowWindow(window_);
  WatchDesktopScale(window_);
  if (SDL_Surface* icon = MakeIcon()) {
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }
  if (!painter_.Open(window_, software, error)) return false;
  Resized();
  return true;
}

SteadyClock::duration SdlScreen::refresh() const {
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(window_);
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) {
    return RefreshPeriod(mode.refresh_rate);
  }
  return RefreshPeriod(0);
}

void SdlScreen::Ended(int status, const std::string& message) {
  if (status != 0 && window_) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Vorlan Kidney", message.c_str(), window_);
  }
}

void SdlScreen::WaitForInput(SteadyClock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
  SDL_WaitEventTimeout(nullptr, static_cast<int>(std::max<int64_t>(0, left.count())));
}

void SdlScreen::Poll(Polled& polled) {
  // The window manager states its frame once it has framed the window: fitted again once, with
  // the frame inside the work area.
  if (!framed_ && Frame().width + Frame().height > 0) FitWindow(true);
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    polled.any = true;
    if (event.type == SDL_QUIT) polled.close = true;
    if (event.type == SDL_WINDOWEVENT) WindowEvent(event.window.event, polled);
    if (IsScaleChange(event)) {
      const int dpi = DesktopDpi(window_);
      if (dpi != dpi_) {
        dpi_ = dpi;
        FitWindow(false);
      }
    }
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_F11 && !event.key.repeat) {
      // Full screen on the window's display, or back to the window's own size and place. The
      // key carries no character, so the form never hears of it.
      const bool full = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN;
      SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    for (const InputEvent& input : TranslateEvent(event, viewport_, layout_.scale)) {
      polled.input.push_back(input);
    }
  }
}

void SdlScreen::WindowEvent(uint8_t what, Polled& polled) {
  switch (what) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      Resized();
      polled.repaint = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      polled.repaint = true;
      break;
    case SDL_WINDOWEVENT_HIDDEN:
    case SDL_WINDOWEVENT_MINIMIZED:
      polled.shown = false;  // the loop goes on, but nobody sees a present
      painter_.Forget();
      break;
    case SDL_WINDOWEVENT_SHOWN:
      // Mapped again: take the keyboard as at the start, since without a window manager
      // nobody else gives it back and Escape would go nowhere.
      SDL_SetWindowInputFocus(window_);
      polled.shown = true;
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      polled.shown = true;
      break;
  }
}

PixelSize SdlScreen::Frame() const {
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
  return {left + right, top + bottom};
}

// The description's client area at the desktop's scale, or the largest 4:3 area that fits in the
// work area with the frame around it; placed (`place`) with the frame's corner where the
// description puts the window, within the work area. Not in full screen, which keeps the
// display's whole size.
void SdlScreen::FitWindow(bool place) {
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) return;
  const PixelSize frame = Frame();
  framed_ = frame.width + frame.height > 0;
  SDL_Rect usable{0, 0, INT32_MAX, INT32_MAX};
  SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &usable);
  const Rect& client = layout_.client;
  const PixelSize size =
      ClientSize(client, dpi_, {usable.w - frame.width, usable.h - frame.height});
  int top = 0, left = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr);
  SDL_SetWindowSize(window_, size.width, size.height);
  if (!place) return;
  SDL_SetWindowPosition(window_, std::max(usable.x, TwipsToPixels(client.left, dpi_)) + left,
                        std::max(usable.y, TwipsToPixels(client.top, dpi_)) + top);
}

void SdlScreen::Resized() {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  viewport_ = FitPicture(w, h, kSlideWidth, kSlideHeight);
  painter_.Resize();
}

}  // namespace vk
