# Writes the stored description as a C++ array, for toolchains whose assembler cannot include a
# file (WebAssembly). Usage: cmake -DINPUT=... -DOUTPUT=... -P embed.cmake
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// The stored window description, written by the build from its copy.\n#include <cstdint>\n\n"
  "extern \"C\" alignas(16) const uint8_t vk_window_description[] = {\n${bytes}};\n"
  "extern \"C\" const uint64_t vk_window_description_size = sizeof vk_window_description;\n")
