// What the slide store leaves to each platform: its memory, its worker's priority and the JPEG
// decoder. One implementation per build: platforms/sdl/slide_decoder_turbojpeg.cpp (libjpeg-turbo,
// 4:2:0 samples), platforms/win32/slide_decoder_wic.cpp (the Windows Imaging Component, BGRX
// pixels) and platforms/web/slide_decoder_stb.cpp (stb_image, RGBA pixels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/picture.h"

namespace vk {

class SlideDecoder {
 public:
  static constexpr int kWidth = kSlideWidth, kHeight = kSlideHeight;

  // One decoder for each thread that decodes.
  SlideDecoder();
  ~SlideDecoder();
  SlideDecoder(const SlideDecoder&) = delete;
  SlideDecoder& operator=(const SlideDecoder&) = delete;

  // Bytes one decoded slide takes.
  static size_t PictureBytes();
  // Decodes a 1024 by 768 slide into `memory` (PictureBytes long) and points `picture` at it;
  // false when `jpeg` is not such a slide.
  bool Decode(std::span<const uint8_t> jpeg, uint8_t* memory, Picture* picture);

  // The memory for every slide at once, and its release; null when there is none.
  static uint8_t* Allocate(size_t bytes);
  static void Free(uint8_t* memory, size_t bytes);
  // Puts the calling worker thread below the window's, which needs the processor more while
  // the window comes up.
  static void LowerThreadPriority();

 private:
  [[maybe_unused]] void* handle_ = nullptr;  // the decoder's own state, where it has one
};

}  // namespace vk
