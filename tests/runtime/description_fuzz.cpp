// libFuzzer target: the description reader and the window check on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/window.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  vk::WindowDescription description;
  std::string error;
  if (vk::ReadDescription(bytes, &description, &error)) {
    vk::WindowLayout layout;
    vk::BuildWindow({description.form_id, bytes}, &layout, &error);
  } else if (error.empty()) {
    __builtin_trap();  // a refusal must say what is wrong
  }
  return 0;
}
