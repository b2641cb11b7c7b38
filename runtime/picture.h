// A decoded slide as the runtime holds it, shared by counted reference.
#pragma once

#include <cstdint>
#include <memory>

namespace vk {

// Samples of one decoded slide in planar 4:2:0 form: full-size luma, half-size chroma. The
// samples belong to the runtime and never change; holders, the frame store and the picture area
// share them through counted references.
struct Picture {
  int width = 0;
  int height = 0;
  const uint8_t* plane[3] = {};  // Y, Cb, Cr
  int stride[3] = {};
};

using PictureRef = std::shared_ptr<const Picture>;

}  // namespace vk
