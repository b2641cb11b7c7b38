// Build tool: writes the stored window description from the 24 slide files, and where each slide's
// JPEG lies in it (one line "offset length" a slide, for the page's module).
// Usage: write_description SLIDES_DIR OUTPUT [SPANS_OUTPUT]
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "presentation/description_writer.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: write_description SLIDES_DIR OUTPUT [SPANS_OUTPUT]\n");
    return 2;
  }
  std::array<std::vector<uint8_t>, 24> jpegs;
  for (int k = 1; k <= 24; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "/slide%02d.jpg", k);
    const std::string path = argv[1] + std::string(name);
    std::ifstream in(path, std::ios::binary);
    jpegs[k - 1].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      std::fprintf(stderr, "write_description: cannot read %s\n", path.c_str());
      return 1;
    }
    if (jpegs[k - 1].empty()) {
      std::fprintf(stderr, "write_description: %s is missing or empty\n", path.c_str());
      return 1;
    }
  }
  std::array<vk::JpegSpan, 24> spans;
  const std::vector<uint8_t> bytes = vk::WriteDescription(jpegs, &spans);
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "write_description: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc == 4) {
    std::ofstream lines(argv[3]);
    for (const vk::JpegSpan& span : spans) lines << span.offset << ' ' << span.length << '\n';
    if (!lines) {
      std::fprintf(stderr, "write_description: cannot write %s\n", argv[3]);
      return 1;
    }
  }
  return 0;
}
