// The slide decoder in a web page: stb_image to 8-bit RGBA pixels, as a canvas takes them.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#include <stb_image.h>

#include <cstdlib>
#include <cstring>

#include "runtime/slide_decoder.h"

namespace vk {

SlideDecoder::SlideDecoder() = default;
SlideDecoder::~SlideDecoder() = default;

size_t SlideDecoder::PictureBytes() { return size_t{kWidth} * kHeight * 4; }

bool SlideDecoder::Decode(std::span<const uint8_t> jpeg, uint8_t* memory, Picture* picture) {
  *picture = {kWidth, kHeight, Picture::Format::kRgba, {memory}, {kWidth * 4}};
  int width = 0, height = 0, channels = 0;
  if (jpeg.empty() || jpeg.size() > INT32_MAX) return false;
  stbi_uc* pixels = stbi_load_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &width,
                                          &height, &channels, 4);
  const bool ok = pixels && width == kWidth && height == kHeight;
  if (ok) std::memcpy(memory, pixels, PictureBytes());
  stbi_image_free(pixels);
  return ok;
}

uint8_t* SlideDecoder::Allocate(size_t bytes) { return static_cast<uint8_t*>(std::malloc(bytes)); }

void SlideDecoder::Free(uint8_t* memory, size_t) { std::free(memory); }

void SlideDecoder::LowerThreadPriority() {}  // a page decodes on its one thread

}  // namespace vk
