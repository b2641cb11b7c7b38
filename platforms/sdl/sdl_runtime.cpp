// The player's window on a desktop through SDL2: events in, Picture1's picture out.
#include "platforms/sdl/sdl_runtime.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platforms/sdl/desktop_x11.h"

namespace vk {

namespace {

// Whether this machine has a GPU render node.
bool HasGpu() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
    if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
  }
  return false;
}

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

int16_t ShiftState() {
  const SDL_Keymod mod = SDL_GetModState();
  return static_cast<int16_t>(((mod & KMOD_SHIFT) ? 1 : 0) | ((mod & KMOD_CTRL) ? 2 : 0) |
                              ((mod & KMOD_ALT) ? 4 : 0));
}

int16_t Buttons(uint32_t state) {
  return static_cast<int16_t>(((state & SDL_BUTTON_LMASK) ? 1 : 0) |
                              ((state & SDL_BUTTON_RMASK) ? 2 : 0) |
                              ((state & SDL_BUTTON_MMASK) ? 4 : 0));
}

InputEvent Key(int16_t code) { return {InputEvent::Type::kKeyPress, code}; }

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

std::vector<InputEvent> TranslateEvent(const SDL_Event& event, const Viewport& viewport,
                                       const ScaleBlock& scale) {
  std::vector<InputEvent> out;
  switch (event.type) {
    case SDL_TEXTINPUT: {
      // UTF-8 to Latin-1: code points above 255 have no single-byte character and are dropped.
      const auto* s = reinterpret_cast<const unsigned char*>(event.text.text);
      while (*s) {
        if (*s < 0x80) {
          out.push_back(Key(*s++));
        } else if ((*s & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80) {
          const int code = (*s & 0x1F) << 6 | (s[1] & 0x3F);
          if (code <= 255) out.push_back(Key(static_cast<int16_t>(code)));
          s += 2;
        } else {
          ++s;
          while ((*s & 0xC0) == 0x80) ++s;
        }
      }
      break;
    }
    case SDL_KEYDOWN:
      switch (event.key.keysym.sym) {
        case SDLK_ESCAPE:
          out.push_back(Key(27));
          break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
          out.push_back(Key(13));
          break;
        case SDLK_BACKSPACE:
          out.push_back(Key(8));
          break;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      // A double click's second press; a third press starts a new single click.
      if (event.button.button == SDL_BUTTON_LEFT && event.button.clicks % 2 == 0) {
        out.push_back({InputEvent::Type::kDblClick});
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT && event.button.clicks % 2 == 1) {
        out.push_back({InputEvent::Type::kClick});
      }
      break;
    case SDL_MOUSEMOTION:
      if (auto move = PointerMove(event.motion.x, event.motion.y, viewport, scale)) {
        move->button = Buttons(event.motion.state);
        move->shift = ShiftState();
        out.push_back(*move);
      }
      break;
  }
  return out;
}

SdlRuntime::~SdlRuntime() {
  if (frame_) SDL_FreeSurface(frame_);
  if (tj_encode_) tjDestroy(tj_encode_);
  if (tj_) tjDestroy(tj_);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlRuntime::Open(std::string* error) {
  // Without a GPU, SDL's own renderer choice would be OpenGL on a software rasteriser, slow to
  // start; the slides then go straight into the window's X11 framebuffer instead.
  software_ = !HasGpu();
  PrepareSdl(software_);
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
  if (software_) {
    tj_ = tjInitDecompress();
    if (!tj_) {
      *error = std::string("cannot draw in the window: ") + tjGetErrorStr();
      return false;
    }
    // X11 framebuffers of 30 bits a pixel (deep-colour screens) are none SDL can draw into:
    // the renderer draws there instead.
    software_ = SDL_GetWindowSurface(window_) != nullptr;
  }
  if (!software_) {
    SDL_SetYUVConversionMode(SDL_YUV_CONVERSION_JPEG);  // the slides are JPEG's full range
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_) {
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_IYUV, SDL_TEXTUREACCESS_STREAMING,
                                   SlidePictures::kWidth, SlidePictures::kHeight);
      if (texture_) SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);  // scaled smoothly
    }
    if (!texture_) {
      // Palette screens of 8 bits or less: no renderer draws there.
      const int depth = ScreenDepth(window_);
      *error = depth > 0 && depth < 15
                   ? "cannot show the slides on a screen of " + std::to_string(depth) +
                         " bits a pixel; screens of 16, 24 or 30 bits show them"
                   : std::string("cannot draw in the window: ") + SDL_GetError();
      return false;
    }
  }
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(window_);
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) {
    gate_ = PresentGate(RefreshPeriod(mode.refresh_rate));
  }
  Resized();
  return true;
}

void SdlRuntime::Activate(FormEvents& form) {
  form_ = &form;
  form.Form_Activate();
}

void SdlRuntime::ReportError(const RuntimeError& error) {
  const std::string text =
      "Run-time error '" + std::to_string(error.number()) + "': " + error.what();
  std::fprintf(stderr, "%s\n", text.c_str());
  if (window_)
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Vorlan Kidney", text.c_str(), window_);
}

PictureRef SdlRuntime::HolderPicture(std::string_view holder) {
  const int i = HolderIndex(holder);
  PictureRef picture = i < 0 ? nullptr : pictures_.Get(i);
  if (!picture) throw NoPictureError(std::string(holder));
  return picture;
}

int32_t SdlRuntime::SetPicture(PictureRef picture) {
  if (picture != picture1_) {
    uploaded_ = false;
    still_ = false;
    gate_.Changed();
  }
  picture1_ = std::move(picture);
  return 0;
}

void SdlRuntime::Count(uint64_t steps) {
  std::this_thread::sleep_until(count_clock_.Next(SteadyClock::now(), steps));
  counted_ = true;
}

void SdlRuntime::PumpEvents() {
  // A still picture and no input since the last cycle's pump: rather than run thousands of cycles
  // a second that show the same picture again (a short wait while stopped), wait up to one refresh
  // period for input. Input ends that wait at once, so nothing is taken later than before. The
  // loading's pumps, between which nothing is counted, never wait.
  if (still_ && counted_) {
    SDL_WaitEventTimeout(nullptr, static_cast<int>(gate_.period() / std::chrono::milliseconds(1)));
  }
  still_ = true;
  counted_ = false;
  // The window manager states its frame once it has framed the window: fitted again once, with
  // the frame inside the work area.
  if (!framed_ && Frame().width + Frame().height > 0) FitWindow(true);
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    still_ = false;
    if (event.type == SDL_QUIT) {
      // The window was closed by its close button or by the desktop: the program ends as
      // Escape ends it, rather than spinning on unseen.
      HideWindow();
      EndProgram();
    }
    if (event.type == SDL_WINDOWEVENT) WindowEvent(event.window.event);
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
      RaiseEvent(*form_, input);
    }
  }
  // A changed picture waits for the next refresh period rather than replace one not yet seen.
  // It is drawn first, so that only putting it on the screen waits for the refresh.
  if (const auto due = gate_.Due(SteadyClock::now())) {
    const bool draw = gate_.shown();
    if (draw && software_) DrawToFramebuffer();
    if (draw && !software_) DrawWithRenderer();
    uploaded_ = draw;
    std::this_thread::sleep_until(*due);
    if (draw && software_) SDL_UpdateWindowSurface(window_);
    if (keep_scaled_) KeepScaled();
    if (draw && !software_) SDL_RenderPresent(renderer_);
    gate_.Presented(*due);
  }
}

void SdlRuntime::WindowEvent(uint8_t what) {
  switch (what) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      Resized();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      gate_.Changed();
      break;
    case SDL_WINDOWEVENT_HIDDEN:
    case SDL_WINDOWEVENT_MINIMIZED:
      gate_.SetShown(false);  // the loop goes on, but nobody sees a present
      break;
    case SDL_WINDOWEVENT_SHOWN:
      // Mapped again: take the keyboard as at the start, since without a window manager
      // nobody else gives it back and Escape would go nowhere.
      SDL_SetWindowInputFocus(window_);
      gate_.SetShown(true);
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      gate_.SetShown(true);
      break;
  }
}

void SdlRuntime::DrawWithRenderer() {
  if (!uploaded_ && picture1_) {
    const Picture& p = *picture1_;
    SDL_UpdateYUVTexture(texture_, nullptr, p.plane[0], p.stride[0], p.plane[1], p.stride[1],
                         p.plane[2], p.stride[2]);
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (picture1_) SDL_RenderCopy(renderer_, texture_, nullptr, &picture_rect_);
}

// Converts the slide's samples to the framebuffer's pixels with libjpeg-turbo, straight into the
// window's framebuffer at the picture's place, with black around it. The framebuffer keeps its
// pixels, so a repaint only puts it again.
void SdlRuntime::DrawToFramebuffer() {
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (!screen) return;
  // Leaving full screen gives the window a framebuffer of its own size before any size event
  // arrives: drawing there at the old size would write past its end.
  if (screen->w != framebuffer_.width || screen->h != framebuffer_.height) Resized();
  if (uploaded_) return;
  const SDL_Rect& r = picture_rect_;
  const SDL_Rect bands[] = {{0, 0, screen->w, r.y},
                            {0, r.y + r.h, screen->w, screen->h - r.y - r.h},
                            {0, r.y, r.x, r.h},
                            {r.x + r.w, r.y, screen->w - r.x - r.w, r.h}};
  const uint32_t black = SDL_MapRGB(screen->format, 0, 0, 0);
  SDL_FillRects(screen, bands, 4, black);
  if (!picture1_) {
    SDL_FillRect(screen, &r, black);
    return;
  }
  const bool at_size = r.w == SlidePictures::kWidth && r.h == SlidePictures::kHeight;
  if (screen->format->format == SDL_PIXELFORMAT_RGB888) {
    auto* at = static_cast<unsigned char*>(screen->pixels) + r.y * screen->pitch + r.x * 4;
    const auto scaled = scaled_.find(picture1_.get());
    const Picture* p = at_size                   ? picture1_.get()
                       : scaled != scaled_.end() ? &scaled->second.picture
                                                 : nullptr;
    if (p) {
      tjDecodeYUVPlanes(tj_, const_cast<const unsigned char**>(p->plane), p->stride, TJSAMP_420, at,
                        r.w, screen->pitch, r.h, TJPF_BGRX, 0);
      return;
    }
    // Not scaled yet: scaled smoothly straight into the framebuffer, and kept once presented.
    keep_scaled_ = DecodeToFrame() && SDL_SoftStretchLinear(frame_, nullptr, screen, &r) == 0;
    if (keep_scaled_) return;
  }
  // Framebuffers of other pixel formats (16 bits a pixel): through the frame and SDL's conversion.
  if (DecodeToFrame()) SDL_BlitScaled(frame_, nullptr, screen, &picture_rect_);
}

bool SdlRuntime::DecodeToFrame() {
  if (!frame_) {
    frame_ = SDL_CreateRGBSurfaceWithFormat(0, SlidePictures::kWidth, SlidePictures::kHeight, 32,
                                            SDL_PIXELFORMAT_RGB888);
    if (!frame_) return false;
  }
  const Picture& p = *picture1_;
  return tjDecodeYUVPlanes(tj_, const_cast<const unsigned char**>(p.plane), p.stride, TJSAMP_420,
                           static_cast<unsigned char*>(frame_->pixels), p.width, frame_->pitch,
                           p.height, TJPF_BGRX, 0) == 0;
}

// Keeps the scaled picture just presented in 4:2:0, as the slides are: scaling each slide change
// anew would cost a few times more than the rest of the cycle together. Done after the present,
// so that the picture is on screen first.
void SdlRuntime::KeepScaled() {
  keep_scaled_ = false;
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (!screen || !picture1_ || (!tj_encode_ && !(tj_encode_ = tjInitCompress()))) return;
  const SDL_Rect& r = picture_rect_;
  Scaled& out = scaled_[picture1_.get()];
  out.samples.resize(tjBufSizeYUV2(r.w, 1, r.h, TJSAMP_420));
  unsigned char* planes[3];
  uint8_t* next = out.samples.data();
  for (int i = 0; i < 3; ++i) {
    planes[i] = next;
    out.picture.plane[i] = next;
    out.picture.stride[i] = tjPlaneWidth(i, r.w, TJSAMP_420);
    next += tjPlaneSizeYUV(i, r.w, 0, r.h, TJSAMP_420);
  }
  out.picture.width = r.w, out.picture.height = r.h;
  const auto* at = static_cast<unsigned char*>(screen->pixels) + r.y * screen->pitch + r.x * 4;
  if (tjEncodeYUVPlanes(tj_encode_, at, r.w, screen->pitch, r.h, TJPF_BGRX, planes,
                        out.picture.stride, TJSAMP_420, 0) != 0) {
    scaled_.erase(picture1_.get());
  }
}

PixelSize SdlRuntime::Frame() const {
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
  return {left + right, top + bottom};
}

// The description's client area at the desktop's scale, or the largest 4:3 area that fits in the
// work area with the frame around it; placed (`place`) with the frame's corner where the
// description puts the window, within the work area. Not in full screen, which keeps the
// display's whole size.
void SdlRuntime::FitWindow(bool place) {
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

void SdlRuntime::Resized() {
  int w = 0, h = 0, pw = 0, ph = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (renderer_) {
    SDL_GetRendererOutputSize(renderer_, &pw, &ph);
  } else {
    SDL_GetWindowSizeInPixels(window_, &pw, &ph);
    uploaded_ = false;  // a new framebuffer holds no picture yet
    framebuffer_ = {pw, ph};
  }
  viewport_ = FitPicture(w, h, SlidePictures::kWidth, SlidePictures::kHeight);
  const Viewport pixels = FitPicture(pw, ph, SlidePictures::kWidth, SlidePictures::kHeight);
  const int x = static_cast<int>(std::lround(pixels.x)),
            y = static_cast<int>(std::lround(pixels.y));
  picture_rect_ = {x, y, std::min(static_cast<int>(std::lround(pixels.width)), pw - x),
                   std::min(static_cast<int>(std::lround(pixels.height)), ph - y)};
  scaled_.clear();  // scaled for the size before
  keep_scaled_ = false;
  gate_.Changed();
}

int32_t SdlRuntime::HideWindow() {
  SDL_HideWindow(window_);
  return 0;
}

void SdlRuntime::EndProgram() { throw ProgramEnd{}; }

}  // namespace vk
