// The 24 holders' pictures, each decoded once and kept for the life of the process.
#include "runtime/slides.h"

#include <new>

#include "runtime/slide_decoder.h"

namespace vk {

// The one buffer that holds all samples, and the pictures that point into it.
struct SlidePictures::Samples {
  explicit Samples(size_t size) : size(size), base(SlideDecoder::Allocate(size)) {
    if (!base) throw std::bad_alloc();
  }
  ~Samples() { SlideDecoder::Free(base, size); }

  size_t size;
  uint8_t* base;
  std::array<Picture, kHolders> pictures;
};

SlidePictures::SlidePictures(const std::array<std::span<const uint8_t>, kHolders>& jpegs,
                             bool background)
    : jpegs_(jpegs), size_(SlideDecoder::PictureBytes() * kHolders) {
  samples_ = std::make_shared<Samples>(size_);
  if (background) {
    worker_ = std::thread([this] {
      SlideDecoder::LowerThreadPriority();
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
  SlideDecoder decoder;
  for (int i = 0; i < kHolders; ++i) {
    uint8_t* memory = samples_->base + i * SlideDecoder::PictureBytes();
    const bool ok = decoder.Decode(jpegs_[i], memory, &samples_->pictures[i]);
    std::lock_guard lock(mutex_);
    decoded_ok_[i] = ok;
    done_ = i + 1;
    ready_.notify_all();
  }
}

PictureRef SlidePictures::Get(int i) {
  std::unique_lock lock(mutex_);
  ready_.wait(lock, [&] { return done_ > i; });
  if (!decoded_ok_[i]) return nullptr;
  return PictureRef(samples_, &samples_->pictures[i]);
}

}  // namespace vk
