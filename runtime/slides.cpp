// The 24 holders' pictures, each decoded once and kept for the life of the process.
#include "runtime/slides.h"

#include <sys/mman.h>
#include <sys/resource.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <new>

namespace vk {

namespace {
constexpr size_t kLumaBytes = SlidePictures::kWidth * SlidePictures::kHeight;
constexpr size_t kChromaBytes = kLumaBytes / 4;
constexpr size_t kPictureBytes = kLumaBytes + 2 * kChromaBytes;
constexpr size_t kHugePage = 2 << 20;
}  // namespace

// The one buffer that holds all samples, and the pictures that point into it.
struct SlidePictures::Samples {
  explicit Samples(size_t size) : size(size) {
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    madvise(p, size, MADV_HUGEPAGE);  // a hint: without huge pages it merely costs more
    base = static_cast<uint8_t*>(p);
  }
  ~Samples() { munmap(base, size); }

  size_t size;
  uint8_t* base;
  std::array<Picture, kHolders> pictures;
};

SlidePictures::SlidePictures(const std::array<std::span<const uint8_t>, kHolders>& jpegs,
                             bool background)
    : jpegs_(jpegs), size_((kPictureBytes * kHolders + kHugePage - 1) / kHugePage * kHugePage) {
  samples_ = std::make_shared<Samples>(size_);
  if (background) {
    worker_ = std::thread([this] {
      // Below the window's thread, which needs the processor more while the window comes up.
      setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5);
      DecodeAll();
    });
  } else {
    DecodeAll();
  }
}

SlidePictures::~SlidePictures() {
  if (worker_.joinable()) worker_.join();
}

void SlidePictures::DecodeAll() {
  tjhandle tj = tjInitDecompress();
  for (int i = 0; i < kHolders; ++i) Decode(i, tj);
  if (tj) tjDestroy(tj);
}

void SlidePictures::Decode(int i, tjhandle tj) {
  uint8_t* y = samples_->base + i * kPictureBytes;
  Picture& picture = samples_->pictures[i];
  picture = {kWidth,
             kHeight,
             {y, y + kLumaBytes, y + kLumaBytes + kChromaBytes},
             {kWidth, kWidth / 2, kWidth / 2}};

  bool ok = false;
  const std::span<const uint8_t> jpeg = jpegs_[i];
  if (tj) {
    int width = 0, height = 0, subsampling = -1, colorspace = -1;
    ok = !jpeg.empty() &&
         tjDecompressHeader3(tj, jpeg.data(), jpeg.size(), &width, &height, &subsampling,
                             &colorspace) == 0 &&
         width == kWidth && height == kHeight && subsampling == TJSAMP_420 &&
         tjDecompressToYUVPlanes(tj, jpeg.data(), jpeg.size(), const_cast<uint8_t**>(picture.plane),
                                 kWidth, picture.stride, kHeight, 0) == 0;
  }
  std::lock_guard lock(mutex_);
  decoded_ok_[i] = ok;
  done_ = i + 1;
  ready_.notify_all();
}

PictureRef SlidePictures::Get(int i) {
  std::unique_lock lock(mutex_);
  ready_.wait(lock, [&] { return done_ > i; });
  if (!decoded_ok_[i]) return nullptr;
  return PictureRef(samples_, &samples_->pictures[i]);
}

}  // namespace vk
