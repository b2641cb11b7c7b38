// Where Picture1's picture lies in a window of any size, and the pointer in Picture1's scale.
#include "runtime/viewport.h"

#include <algorithm>

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

std::optional<InputEvent> PointerMove(double x, double y, const Viewport& viewport,
                                      const ScaleBlock& scale) {
  x -= viewport.x, y -= viewport.y;
  if (x < 0 || y < 0 || x >= viewport.width || y >= viewport.height) return std::nullopt;
  InputEvent move{InputEvent::Type::kMouseMove};
  move.x = static_cast<float>(scale.width * x / viewport.width);
  move.y = static_cast<float>(scale.height * y / viewport.height);
  return move;
}

}  // namespace vk
