// Draws Picture1's picture into a window through GDI, scaled into the viewport with black around
// it: smoothly when it stays, by the nearest pixel while it moves.
#pragma once

#include <windows.h>

#include "runtime/picture.h"
#include "runtime/viewport.h"

namespace vk {

class GdiPainter {
 public:
  // The window's client area is now width by height pixels.
  void Resize(int width, int height);
  // Where the picture lies in the client area, for the pointer.
  const Viewport& viewport() const { return viewport_; }
  // Paints `picture` (null: none) into `dc`; `smooth` scales it at its best, slowly.
  void Paint(HDC dc, const PictureRef& picture, bool smooth);
  // Whether the picture last painted is as good as it gets.
  bool smooth() const { return smooth_; }

 private:
  int width_ = 0, height_ = 0;
  Viewport viewport_;
  bool smooth_ = true;
};

}  // namespace vk
