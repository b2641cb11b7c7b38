// Where Picture1's picture lies in a window of any size, and the pointer in Picture1's scale.
#pragma once

#include <optional>

#include "runtime/description.h"
#include "runtime/runtime.h"

namespace vk {

// Picture1's 1024 by 768 picture in the window: scaled with its aspect kept and centred, in
// window coordinates.
struct Viewport {
  double x = 0, y = 0, width = kSlideWidth, height = kSlideHeight;
};

Viewport FitPicture(int window_width, int window_height, int picture_width, int picture_height);

// Dots per inch of a display that states no scale of its own: 15 twips a pixel.
constexpr int kDefaultDpi = 96;

// Pixels that `twips` cover at `dpi` dots per inch (a twip is 1/1440 inch), rounded.
int TwipsToPixels(int twips, int dpi);

struct PixelSize {
  int width = 0, height = 0;
};

// The window's client area in pixels: the description's `client` rectangle at the display's `dpi`,
// so that the window has one physical size at every display scale; where that does not fit in
// `room` (the monitor's work area less the window's frame), the largest area of its aspect that
// does.
PixelSize ClientSize(const Rect& client, int dpi, PixelSize room);

// The mouse buttons and modifier keys held during a move.
struct Held {
  bool left = false, right = false, middle = false;
  bool shift = false, ctrl = false, alt = false;
};

// The MouseMove of a pointer at window position (x, y), in Picture1's scale, with what is `held`;
// nothing over the black border around the picture, which is not Picture1.
std::optional<InputEvent> PointerMove(double x, double y, const Viewport& viewport,
                                      const ScaleBlock& scale, Held held = {});

}  // namespace vk
