// The slide decoder on Linux: libjpeg-turbo to planar 4:2:0 samples, in huge-page memory.
#include <sys/mman.h>
#include <sys/resource.h>
#include <turbojpeg.h>
#include <unistd.h>

#include "runtime/slide_decoder.h"

namespace vk {

namespace {
constexpr size_t kLumaBytes = SlideDecoder::kWidth * SlideDecoder::kHeight;
constexpr size_t kChromaBytes = kLumaBytes / 4;
constexpr size_t kHugePage = 2 << 20;
size_t InHugePages(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
}  // namespace

SlideDecoder::SlideDecoder() : handle_(tjInitDecompress()) {}

SlideDecoder::~SlideDecoder() {
  if (handle_) tjDestroy(handle_);
}

size_t SlideDecoder::PictureBytes() { return kLumaBytes + 2 * kChromaBytes; }

bool SlideDecoder::Decode(std::span<const uint8_t> jpeg, uint8_t* memory, Picture* picture) {
  *picture = {kWidth,
              kHeight,
              Picture::Format::kYuv420,
              {memory, memory + kLumaBytes, memory + kLumaBytes + kChromaBytes},
              {kWidth, kWidth / 2, kWidth / 2}};
  int width = 0, height = 0, subsampling = -1, colorspace = -1;
  return handle_ && !jpeg.empty() &&
         tjDecompressHeader3(handle_, jpeg.data(), jpeg.size(), &width, &height, &subsampling,
                             &colorspace) == 0 &&
         width == kWidth && height == kHeight && subsampling == TJSAMP_420 &&
         tjDecompressToYUVPlanes(handle_, jpeg.data(), jpeg.size(),
                                 const_cast<uint8_t**>(picture->plane), kWidth, picture->stride,
                                 kHeight, 0) == 0;
}

uint8_t* SlideDecoder::Allocate(size_t bytes) {
  // Huge pages where the kernel offers them: first touches of fresh pages dominate the cost.
  bytes = InHugePages(bytes);
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without huge pages it merely costs more
  return static_cast<uint8_t*>(p);
}

void SlideDecoder::Free(uint8_t* memory, size_t bytes) { munmap(memory, InHugePages(bytes)); }

void SlideDecoder::LowerThreadPriority() {
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5);
}

}  // namespace vk
