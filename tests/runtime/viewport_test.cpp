// The window's size at every display scale, and the pointer in Picture1's scale at any size.
#include "runtime/viewport.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

const Rect kClient{0, 0, 15360, 11520};  // the description's 1024 by 768 at 15 twips a pixel
const ScaleBlock kScale{0, 0, 0, 14.8828058f, 29.84375f};
const PixelSize kRoomy{10000, 10000};

TEST(ViewportTest, ClientAreaKeepsItsPhysicalSizeAtEveryScale) {
  for (const auto& [dpi, width, height] :
       {std::tuple{96, 1024, 768}, {120, 1280, 960}, {144, 1536, 1152}, {192, 2048, 1536}}) {
    const PixelSize size = ClientSize(kClient, dpi, kRoomy);
    EXPECT_EQ(size.width, width) << dpi;
    EXPECT_EQ(size.height, height) << dpi;
  }
  // A 1366 by 768 laptop at 150 %: the largest 4:3 area that fits its work area.
  const PixelSize fit = ClientSize(kClient, 144, {1366, 700});
  EXPECT_EQ(fit.height, 700);
  EXPECT_EQ(fit.width, 933);
  // Exactly the room it needs is room enough.
  EXPECT_EQ(ClientSize(kClient, 144, {1536, 1152}).width, 1536);
}

TEST(ViewportTest, PointerAtOneAndAHalfTimesReportsThePictureOnesUnits) {
  const Viewport v = FitPicture(1536, 1152, 1024, 768);
  const InputEvent corner = *PointerMove(1535, 1151, v, kScale);
  EXPECT_LT(corner.x, 14.8828058f);
  EXPECT_GT(corner.x, 14.87f);
  EXPECT_LT(corner.y, 29.84375f);
  EXPECT_GT(corner.y, 29.8f);
  EXPECT_FALSE(PointerMove(1536, 0, v, kScale));
  // The same place on the picture gives the same X and Y, so the same pace, as at 100 %.
  const Viewport at100 = FitPicture(1024, 768, 1024, 768);
  for (const auto& [x, y] : {std::pair{512, 384}, {100, 700}, {1000, 20}}) {
    const InputEvent big = *PointerMove(x * 1.5, y * 1.5, v, kScale);
    const InputEvent small = *PointerMove(x, y, at100, kScale);
    EXPECT_EQ(big.x, small.x);
    EXPECT_EQ(big.y, small.y);
  }
}

}  // namespace
}  // namespace vk
