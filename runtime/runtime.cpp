// Operations of the forms runtime that are the same for every runtime.
#include "runtime/runtime.h"

namespace vk {

std::optional<char> CharacterOfKeyCode(int16_t code) {
  if (code < 0 || code > 255) return std::nullopt;
  return static_cast<char>(static_cast<unsigned char>(code));
}

}  // namespace vk
