// Draws Picture1's picture into an SDL window, scaled into the viewport with black around it:
// with a GPU through SDL's renderer and one 4:2:0 texture, without one straight into the
// window's framebuffer through libjpeg-turbo's converters.
#pragma once

#include <SDL.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/picture.h"
#include "runtime/viewport.h"

namespace vk {

// Whether this machine has no GPU render node, so that the window is drawn in software. Asked
// before SDL starts: SDL's own choice there would be OpenGL on a software rasteriser, slow to
// start.
bool WithoutGpu();

class SdlPainter {
 public:
  ~SdlPainter() { Close(); }
  // Lets go of the renderer and the converters, before the window goes.
  void Close();
  // Ready to draw in `window`; false with a one-line `error` when nothing can draw there.
  bool Open(SDL_Window* window, bool software, std::string* error);
  // The window's size changed: the picture's place in its pixels.
  void Resize();
  // The window's pixels were lost (hidden, minimised): the next Draw draws the picture again.
  void Forget() { holds_ = false; }
  // Readies `picture` in the next frame; Present puts it on the screen.
  void Draw(const PictureRef& picture);
  void Present();

 private:
  void DrawWithRenderer(const PictureRef& picture);
  void DrawToFramebuffer(const PictureRef& picture);
  // The picture's samples as BGRX pixels in the frame; false when there is no room for it.
  bool DecodeToFrame(const Picture& picture);
  void KeepScaled();

  SDL_Window* window_ = nullptr;
  bool software_ = false;
  SDL_Renderer* renderer_ = nullptr;  // with a GPU
  SDL_Texture* texture_ = nullptr;
  void* tj_ = nullptr;            // without one: libjpeg-turbo's converter to RGB
  void* tj_encode_ = nullptr;     // and back to 4:2:0, for the scaled pictures
  SDL_Surface* frame_ = nullptr;  // the picture in RGB, to scale it or convert it
  struct Scaled {
    std::vector<uint8_t> samples;
    Picture picture;
  };
  std::unordered_map<const Picture*, Scaled> scaled_;  // by the slide's own picture
  bool keep_scaled_ = false;  // the framebuffer holds a newly scaled picture
  SDL_Rect picture_rect_{};   // output pixels
  PixelSize framebuffer_{};   // the framebuffer's size that picture_rect_ was placed in
  PictureRef held_;           // the picture the texture or the framebuffer holds,
  bool holds_ = false;        // when it holds one at all
};

}  // namespace vk
