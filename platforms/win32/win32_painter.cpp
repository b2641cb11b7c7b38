// Draws Picture1's picture into a window through GDI.
#include "platforms/win32/win32_painter.h"

namespace vk {

void GdiPainter::Resize(int width, int height) {
  width_ = width, height_ = height;
  viewport_ = FitPicture(width, height, kSlideWidth, kSlideHeight);
}

// Picture1's pixels scaled into the viewport, and black around them.
void GdiPainter::Paint(HDC dc, const PictureRef& picture, bool smooth) {
  const RECT client{0, 0, width_, height_};
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
  if (!picture || picture->format != Picture::Format::kBgrx) {
    smooth_ = true;
    const RECT area{x, y, x + w, y + h};
    FillRect(dc, &area, black);
    return;
  }
  const Picture& p = *picture;
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

}  // namespace vk
