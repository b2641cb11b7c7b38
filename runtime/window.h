// The window built from its stored description: what the runtimes show and where the slides lie.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "runtime/description.h"
#include "runtime/picture.h"

namespace vk {

struct WindowLayout {
  std::string caption;
  Rect client;        // the form's client area, twips
  Rect picture_rect;  // Picture1 within it, twips
  ScaleBlock scale;   // Picture1's coordinate system
  // The JPEG file of holder Image(i + 1); empty where the holder has no picture.
  std::array<std::span<const uint8_t>, kHolders> holder_jpegs;
};

// The index (0 to 23) of the image holder named `name` ("Image1" to "Image24"), or -1.
int HolderIndex(std::string_view name);

// Reads the description of `entry` and checks that it is this window: the table's form, the
// picture area Picture1 as the form's only child and Image1 to Image24 inside it. Holders are
// found by name, never by record position. On failure returns false with a one-line `error`.
bool BuildWindow(const FormTableEntry& entry, WindowLayout* out, std::string* error);

}  // namespace vk
