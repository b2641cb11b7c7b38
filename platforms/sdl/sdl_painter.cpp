// Draws Picture1's picture into an SDL window, through SDL's renderer or into its framebuffer.
#include "platforms/sdl/sdl_painter.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platforms/sdl/desktop_x11.h"

namespace vk {

bool WithoutGpu() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
    if (entry.path().filename().string().rfind("renderD", 0) == 0) return false;
  }
  return true;
}

void SdlPainter::Close() {
  if (frame_) SDL_FreeSurface(frame_);
  if (tj_encode_) tjDestroy(tj_encode_);
  if (tj_) tjDestroy(tj_);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  frame_ = nullptr, tj_encode_ = tj_ = nullptr, texture_ = nullptr, renderer_ = nullptr;
}

bool SdlPainter::Open(SDL_Window* window, bool software, std::string* error) {
  window_ = window;
  software_ = software;
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
                                   kSlideWidth, kSlideHeight);
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
  Resize();
  return true;
}

void SdlPainter::Resize() {
  int pw = 0, ph = 0;
  if (renderer_) {
    SDL_GetRendererOutputSize(renderer_, &pw, &ph);
  } else {
    SDL_GetWindowSizeInPixels(window_, &pw, &ph);
    holds_ = false;  // a new framebuffer holds no picture yet
    framebuffer_ = {pw, ph};
  }
  const Viewport pixels = FitPicture(pw, ph, kSlideWidth, kSlideHeight);
  const int x = static_cast<int>(std::lround(pixels.x)),
            y = static_cast<int>(std::lround(pixels.y));
  picture_rect_ = {x, y, std::min(static_cast<int>(std::lround(pixels.width)), pw - x),
                   std::min(static_cast<int>(std::lround(pixels.height)), ph - y)};
  scaled_.clear();  // scaled for the size before
  keep_scaled_ = false;
}

void SdlPainter::Draw(const PictureRef& picture) {
  if (software_) {
    DrawToFramebuffer(picture);
  } else {
    DrawWithRenderer(picture);
  }
  held_ = picture;
  holds_ = true;
}

void SdlPainter::Present() {
  if (software_) SDL_UpdateWindowSurface(window_);
  if (keep_scaled_) KeepScaled();
  if (!software_) SDL_RenderPresent(renderer_);
}

void SdlPainter::DrawWithRenderer(const PictureRef& picture) {
  if (picture && !(holds_ && held_ == picture)) {
    const Picture& p = *picture;
    SDL_UpdateYUVTexture(texture_, nullptr, p.plane[0], p.stride[0], p.plane[1], p.stride[1],
                         p.plane[2], p.stride[2]);
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (picture) SDL_RenderCopy(renderer_, texture_, nullptr, &picture_rect_);
}

// Converts the slide's samples to the framebuffer's pixels with libjpeg-turbo, straight into the
// window's framebuffer at the picture's place, with black around it. The framebuffer keeps its
// pixels, so a repaint only puts it again.
void SdlPainter::DrawToFramebuffer(const PictureRef& picture) {
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (!screen) return;
  // Leaving full screen gives the window a framebuffer of its own size before any size event
  // arrives: drawing there at the old size would write past its end.
  if (screen->w != framebuffer_.width || screen->h != framebuffer_.height) Resize();
  if (holds_ && held_ == picture) return;
  const SDL_Rect& r = picture_rect_;
  const SDL_Rect bands[] = {{0, 0, screen->w, r.y},
                            {0, r.y + r.h, screen->w, screen->h - r.y - r.h},
                            {0, r.y, r.x, r.h},
                            {r.x + r.w, r.y, screen->w - r.x - r.w, r.h}};
  const uint32_t black = SDL_MapRGB(screen->format, 0, 0, 0);
  SDL_FillRects(screen, bands, 4, black);
  if (!picture) {
    SDL_FillRect(screen, &r, black);
    return;
  }
  const bool at_size = r.w == kSlideWidth && r.h == kSlideHeight;
  if (screen->format->format == SDL_PIXELFORMAT_RGB888) {
    auto* at = static_cast<unsigned char*>(screen->pixels) + r.y * screen->pitch + r.x * 4;
    const auto scaled = scaled_.find(picture.get());
    const Picture* p = at_size                   ? picture.get()
                       : scaled != scaled_.end() ? &scaled->second.picture
                                                 : nullptr;
    if (p) {
      tjDecodeYUVPlanes(tj_, const_cast<const unsigned char**>(p->plane), p->stride, TJSAMP_420, at,
                        r.w, screen->pitch, r.h, TJPF_BGRX, 0);
      return;
    }
    // Not scaled yet: scaled smoothly straight into the framebuffer, and kept once presented.
    keep_scaled_ =
        DecodeToFrame(*picture) && SDL_SoftStretchLinear(frame_, nullptr, screen, &r) == 0;
    if (keep_scaled_) return;
  }
  // Framebuffers of other pixel formats (16 bits a pixel): through the frame and SDL's conversion.
  if (DecodeToFrame(*picture)) SDL_BlitScaled(frame_, nullptr, screen, &picture_rect_);
}

bool SdlPainter::DecodeToFrame(const Picture& p) {
  if (!frame_) {
    frame_ =
        SDL_CreateRGBSurfaceWithFormat(0, kSlideWidth, kSlideHeight, 32, SDL_PIXELFORMAT_RGB888);
    if (!frame_) return false;
  }
  return tjDecodeYUVPlanes(tj_, const_cast<const unsigned char**>(p.plane), p.stride, TJSAMP_420,
                           static_cast<unsigned char*>(frame_->pixels), p.width, frame_->pitch,
                           p.height, TJPF_BGRX, 0) == 0;
}

// Keeps the scaled picture just presented in 4:2:0, as the slides are: scaling each slide change
// anew would cost a few times more than the rest of the cycle together. Done after the present,
// so that the picture is on screen first.
void SdlPainter::KeepScaled() {
  keep_scaled_ = false;
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (!screen || !held_ || (!tj_encode_ && !(tj_encode_ = tjInitCompress()))) return;
  const SDL_Rect& r = picture_rect_;
  Scaled& out = scaled_[held_.get()];
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
    scaled_.erase(held_.get());
  }
}

}  // namespace vk
