// Where Picture1's picture lies in a window of any size, and the pointer in Picture1's scale.
#include "runtime/viewport.h"

#include <algorithm>
#include <cstdint>

namespace vk {

Viewport FitPicture(int window_width, int window_height, int picture_width, int picture_height) {
  const double scale = std::min(static_cast<double>(window_width) / picture_width,
                                static_cast<double>(window_height) / picture_height);
  Viewport v;
  v.width = picture_width * scale;
  v.height = picture_height * scale;
  v.x = (window_width - v.width) / 2;
  v.y = (window_height - v.height) / 2;
  return v;
}

int TwipsToPixels(int twips, int dpi) {
  return static_cast<int>((int64_t{twips} * dpi + 720) / 1440);
}

PixelSize ClientSize(const Rect& client, int dpi, PixelSize room) {
  PixelSize size{TwipsToPixels(client.width, dpi), TwipsToPixels(client.height, dpi)};
  if (size.width <= room.width && size.height <= room.height) return size;
  const Viewport fit = FitPicture(room.width, room.height, size.width, size.height);
  return {static_cast<int>(fit.width), static_cast<int>(fit.height)};
}

std::optional<InputEvent> PointerMove(double x, double y, const Viewport& viewport,
                                      const ScaleBlock& scale, Held held) {
  x -= viewport.x, y -= viewport.y;
  if (x < 0 || y < 0 || x >= viewport.width || y >= viewport.height) return std::nullopt;
  InputEvent move{InputEvent::Type::kMouseMove};
  move.x = static_cast<float>(scale.width * x / viewport.width);
  move.y = static_cast<float>(scale.height * y / viewport.height);
  move.button = static_cast<int16_t>(held.left | held.right << 1 | held.middle << 2);
  move.shift = static_cast<int16_t>(held.shift | held.ctrl << 1 | held.alt << 2);
  return move;
}

}  // namespace vk
