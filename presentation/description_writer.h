// Assembles the stored window description of VorlanKidney around the 24 slide files.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vk {

// The description, byte for byte; `jpegs[i]` is slide i + 1, the picture of Image(i + 1).
std::vector<uint8_t> WriteDescription(const std::array<std::vector<uint8_t>, 24>& jpegs);

}  // namespace vk
