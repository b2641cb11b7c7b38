// The 24 holders' pictures, each decoded once and kept for the life of the process.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "runtime/picture.h"
#include "runtime/screen.h"
#include "runtime/window.h"

namespace vk {

// Decodes every holder's JPEG into one large buffer with the platform's SlideDecoder, at once,
// on a worker below the window's priority, or on demand; Get waits only for the picture it
// needs.
class SlidePictures : public HolderSource {
 public:
  static constexpr int kWidth = kSlideWidth, kHeight = kSlideHeight;

  // When the pictures are decoded: all before the constructor returns; on a worker, in holder
  // order; or on the thread that asks for one, up to it (a page has one thread).
  enum Decoding { kAtOnce, kOnWorker, kOnDemand };

  SlidePictures(const std::array<std::span<const uint8_t>, kHolders>& jpegs, Decoding decoding);
  ~SlidePictures() override;
  SlidePictures(const SlidePictures&) = delete;
  SlidePictures& operator=(const SlidePictures&) = delete;

  // Holder i's picture (i from 0), or null when its JPEG did not decode as a 1024 by 768
  // picture. The reference keeps every picture's samples alive.
  PictureRef Get(int i) override;

  size_t buffer_bytes() const { return size_; }

 private:
  struct Samples;
  void DecodeUpTo(int last);

  std::array<std::span<const uint8_t>, kHolders> jpegs_;
  std::shared_ptr<Samples> samples_;
  size_t size_ = 0;
  std::array<bool, kHolders> decoded_ok_{};
  std::mutex mutex_;
  std::condition_variable ready_;
  int done_ = 0;  // holders 0 .. done_ - 1 are decoded
  Decoding decoding_;
  std::thread worker_;
};

}  // namespace vk
