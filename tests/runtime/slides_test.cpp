// The embedded slides as the runtime decodes them: what a viewer sees on them, and bad pictures.
#include "runtime/slides.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "platforms/headless/headless.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"
#include "presentation/slide_geometry.h"

namespace vk {
namespace {

namespace s = slides;

struct Rgb {
  int r, g, b;
};

Rgb At(const Picture& p, double x, double y) {
  const int px = static_cast<int>(std::lround(x)), py = static_cast<int>(std::lround(y));
  const uint8_t* pixel = p.plane[0] + py * p.stride[0] + px * 4;
  if (p.format == Picture::Format::kBgrx) return {pixel[2], pixel[1], pixel[0]};
  if (p.format == Picture::Format::kRgba) return {pixel[0], pixel[1], pixel[2]};
  const double Y = p.plane[0][py * p.stride[0] + px];
  const double cb = p.plane[1][py / 2 * p.stride[1] + px / 2] - 128.0;
  const double cr = p.plane[2][py / 2 * p.stride[2] + px / 2] - 128.0;
  auto clamp = [](double v) {
    return static_cast<int>(std::lround(std::fmin(255, std::fmax(0, v))));
  };
  return {clamp(Y + 1.402 * cr), clamp(Y - 0.344136 * cb - 0.714136 * cr), clamp(Y + 1.772 * cb)};
}

// Colours as JPEG at quality 75 keeps them: within some levels away from edges (red, stored at half
// resolution, least).
void ExpectColour(const Picture& p, double x, double y, Rgb want, const std::string& what) {
  const Rgb got = At(p, x, y);
  EXPECT_TRUE(std::abs(got.r - want.r) <= 36 && std::abs(got.g - want.g) <= 36 &&
              std::abs(got.b - want.b) <= 36)
      << what << " at (" << x << ", " << y << "): " << got.r << "," << got.g << "," << got.b;
}

constexpr Rgb kBlack{0, 0, 0}, kGrey{205, 205, 205}, kWhite{255, 255, 255}, kRed{255, 0, 0};

class SlidesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_TRUE(BuildWindow(FormTable()[0], &layout_, &error)) << error;
    pictures_ = new SlidePictures(layout_.holder_jpegs, SlidePictures::kAtOnce);
  }
  static void TearDownTestSuite() { delete pictures_; }

  static WindowLayout layout_;
  static SlidePictures* pictures_;
};
WindowLayout SlidesTest::layout_;
SlidePictures* SlidesTest::pictures_ = nullptr;

TEST_F(SlidesTest, EveryHolderDecodesOnceToOneSharedPicture) {
  for (int i = 0; i < kHolders; ++i) {
    const PictureRef a = pictures_->Get(i);
    ASSERT_NE(a, nullptr) << i;
    EXPECT_EQ(a, pictures_->Get(i));
    EXPECT_EQ(a->width, 1024);
    EXPECT_EQ(a->height, 768);
  }
  // 4:2:0 samples take half the memory of pixels.
  if (pictures_->Get(0)->format == Picture::Format::kYuv420) {
    EXPECT_LT(pictures_->buffer_bytes(), 32u << 20);
  }
}

TEST_F(SlidesTest, BarsEndsPivotsAndColours) {
  for (int k : {1, 7, 13, 19}) {
    SCOPED_TRACE("slide " + std::to_string(k));
    const Picture& p = *pictures_->Get(k - 1);
    const double d = -105 * std::sin(15.0 * (k - 1) * s::kPi / 180);
    const double big_left = 192 + d, big_right = 832 + d;
    // The thick bar: red end dots, red along it, grey discs around its ends, black beyond.
    ExpectColour(p, big_left, 384, kRed, "thick bar's left end");
    ExpectColour(p, big_right, 384, kRed, "thick bar's right end");
    ExpectColour(p, (big_left + 512) / 2, 384, kRed, "thick bar");
    ExpectColour(p, big_left, 384 - 28, kGrey, "left end disc");
    ExpectColour(p, big_right, 384 + 28, kGrey, "right end disc");
    ExpectColour(p, big_left - 50, 384, kBlack, "outside the left disc");
    ExpectColour(p, big_right + 50, 384, kBlack, "outside the right disc");
    ExpectColour(p, big_left, 384 - 12, kGrey, "above the bar in the disc");
    // The thin bar's right end stays above the thick bar's.
    const double small_right = 829 + d;
    ExpectColour(p, small_right, 192, kRed, "thin bar's right end");
    ExpectColour(p, small_right, 192 + 28, kWhite, "thin bar's right disc");
    ExpectColour(p, small_right + 50, 192, kBlack, "outside the thin bar's disc");
    // The pivots: a black dot on the big cam; a white dot with a dark ring.
    ExpectColour(p, 512, 384, kBlack, "big pivot");
    ExpectColour(p, 512, 384 - 16, kBlack, "big pivot's edge");
    ExpectColour(p, 700, 192, kWhite, "small pivot");
    // The grey cam body below the pivot, on every slide.
    ExpectColour(p, 512, 384 + 100, kGrey, "three-lobed cam");
  }
  // Slide 1: a lobe straight up, the white lobe above the small pivot.
  const Picture& first = *pictures_->Get(0);
  ExpectColour(first, 512, 20, kGrey, "top lobe");
  ExpectColour(first, 700, 80, kWhite, "white lobe");
  ExpectColour(first, 700, 300, kBlack, "below the white cam");
}

double MeanDifference(const Picture& a, const Picture& b) {
  double sum = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      sum += std::abs(a.plane[0][y * a.stride[0] + x] - b.plane[0][y * b.stride[0] + x]);
    }
  }
  return sum / (a.width * a.height);
}

TEST_F(SlidesTest, StepFromLastToFirstIsNoLargerThanAnyOther) {
  double largest = 0, smallest = 1e9;
  for (int i = 0; i + 1 < kHolders; ++i) {
    const double step = MeanDifference(*pictures_->Get(i), *pictures_->Get(i + 1));
    largest = std::max(largest, step);
    smallest = std::min(smallest, step);
  }
  const double wrap = MeanDifference(*pictures_->Get(23), *pictures_->Get(0));
  EXPECT_GT(smallest, 0);
  EXPECT_LE(wrap, largest * 1.02);
}

TEST_F(SlidesTest, EmbeddedBytesAreTheBuildsCopy) {
  std::ifstream in(VK_DESCRIPTION_FILE, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  const std::span<const uint8_t> embedded = FormTable()[0].description;
  EXPECT_TRUE(std::equal(file.begin(), file.end(), embedded.begin(), embedded.end()));
}

TEST(BadPictureTest, HolderThatDoesNotDecodeRaisesWhenLoadingReachesIt) {
  WindowLayout layout;
  std::string error;
  ASSERT_TRUE(BuildWindow(FormTable()[0], &layout, &error));
  // Image3 keeps its markers but loses its middle; Image5 is a valid JPEG of another size.
  std::vector<uint8_t> damaged(layout.holder_jpegs[2].begin(), layout.holder_jpegs[2].end());
  std::fill(damaged.begin() + 2, damaged.end() - 2, 0x00);
  layout.holder_jpegs[2] = damaged;
  const uint8_t tiny[] = {0xFF, 0xD8, 0xFF, 0xD9};
  layout.holder_jpegs[4] = tiny;
  // On a worker where there are threads; WebAssembly without them decodes on demand.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  SlidePictures pictures(layout.holder_jpegs, SlidePictures::kOnDemand);
#else
  SlidePictures pictures(layout.holder_jpegs, SlidePictures::kOnWorker);
#endif
  EXPECT_NE(pictures.Get(1), nullptr);
  EXPECT_EQ(pictures.Get(2), nullptr);
  EXPECT_EQ(pictures.Get(4), nullptr);

  std::vector<PictureRef> holders;
  for (int i = 0; i < kHolders; ++i) holders.push_back(pictures.Get(i));
  HeadlessRuntime runtime(holders);
  VorlanKidney form(runtime);
  try {
    runtime.Start(form);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), kInvalidPicture);
    EXPECT_STREQ(e.what(), "Invalid picture: Image3");
  }
  EXPECT_EQ(runtime.pump_count, 1u);
}

}  // namespace
}  // namespace vk
