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
                             Decoding decoding)
    : jpegs_(jpegs), size_(SlideDecoder::PictureBytes() * kHolders), decoding_(decoding) {
  samples_ = std::make_shared<Samples>(size_);
  if (decoding == kOnWorker) {
    worker_ = std::thread([this] {
      SlideDecoder::LowerThreadPriority();
      DecodeUpTo(kHolders - 1);
    });
  } else if (decoding == kAtOnce) {
    DecodeUpTo(kHolders - 1);
  }
}

SlidePictures::~SlidePictures() {
  if (worker_.joinable()) worker_.join();
}

// Decodes the holders from done_ to `last`, on the thread that calls it.
void SlidePictures::DecodeUpTo(int last) {
  SlideDecoder decoder;
  for (int i = done_; i <= last; ++i) {
    uint8_t* memory = samples_->base + i * SlideDecoder::PictureBytes();
    const bool ok = decoder.Decode(jpegs_[i], memory, &samples_->pictures[i]);
    std::lock_guard lock(mutex_);
    decoded_ok_[i] = ok;
    done_ = i + 1;
    ready_.notify_all();
  }
}

PictureRef SlidePictures::Get(int i) {
  if (decoding_ == kOnDemand && done_ <= i) DecodeUpTo(i);
  std::unique_lock lock(mutex_);
  ready_.wait(lock, [&] { return done_ > i; });
  if (!decoded_ok_[i]) return nullptr;
  return PictureRef(samples_, &samples_->pictures[i]);
}

}  // namespace vk
