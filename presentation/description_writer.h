// Assembles the stored window description of VorlanKidney around the 24 slide files.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vk {

// Where a slide's JPEG file lies in the description.
struct JpegSpan {
  uint32_t offset = 0, length = 0;
};

// The description, byte for byte; `jpegs[i]` is slide i + 1, the picture of Image(i + 1). Where
// `spans` is given, spans[i] is where slide i + 1's JPEG went.
std::vector<uint8_t> WriteDescription(const std::array<std::vector<uint8_t>, 24>& jpegs,
                                      std::array<JpegSpan, 24>* spans = nullptr);

}  // namespace vk
