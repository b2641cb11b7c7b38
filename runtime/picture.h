// A decoded slide as the runtime holds it, shared by counted reference; the slides' size and count.
#pragma once

#include <cstdint>
#include <memory>

namespace vk {

// Every slide's size, in pixels, and how many slides there are: one image holder each.
constexpr int kSlideWidth = 1024, kSlideHeight = 768;
constexpr int kHolders = 24;

// The samples of one decoded slide: planar 4:2:0 (full-size luma, half-size chroma) where the
// platform's decoder gives those, else 32-bit pixels in plane 0, in B, G, R, X byte order (GDI)
// or R, G, B, A; or none at all where the screen itself holds the decoded slide (a page's
// ImageBitmap, `stride[0]` naming it). The samples belong to the runtime and never change;
// holders, the frame store and the picture area share them through counted references.
struct Picture {
  enum class Format { kYuv420, kBgrx, kRgba, kHeldByScreen };
  int width = 0;
  int height = 0;
  Format format = Format::kYuv420;
  const uint8_t* plane[3] = {};  // Y, Cb, Cr; or the pixels
  int stride[3] = {};
};

using PictureRef = std::shared_ptr<const Picture>;

}  // namespace vk
