// Typed numbers: kinds, the arithmetic the player performs, the product and the wait's count.
#include "player/typed_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "runtime/errors.h"

namespace vk {
namespace {

using Kind = TypedNumber::Kind;

int32_t ErrorNumberOf(auto&& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST(TypedNumberTest, ConstantsTakeTheKindOfALiteral) {
  EXPECT_EQ(TypedNumber().kind(), Kind::kEmpty);
  EXPECT_EQ(TypedNumber(-2).kind(), Kind::kI16);
  EXPECT_EQ(TypedNumber(10000).kind(), Kind::kI16);
  EXPECT_EQ(TypedNumber(32767).kind(), Kind::kI16);
  EXPECT_EQ(TypedNumber(-32768).kind(), Kind::kI16);
  EXPECT_EQ(TypedNumber(1000000).kind(), Kind::kI32);
  EXPECT_EQ(TypedNumber(2.5f).kind(), Kind::kF32);

  TypedNumber copy = TypedNumber(1000000);
  EXPECT_EQ(copy.kind(), Kind::kI32);
  copy = TypedNumber(3);  // the kind follows the value last assigned
  EXPECT_EQ(copy.kind(), Kind::kI16);
  TypedNumber empty;
  copy = empty;
  EXPECT_TRUE(copy.IsEmpty());
}

TEST(TypedNumberTest, EmptyActsAsZero) {
  const TypedNumber empty;
  EXPECT_TRUE(empty == 0);
  EXPECT_FALSE(empty == 1);
  EXPECT_FALSE(empty == -1);
  EXPECT_TRUE(empty != 3);
  EXPECT_TRUE(TypedNumber(0.0f) >= empty);
  EXPECT_FALSE(TypedNumber(-0.5f) >= empty);

  const TypedNumber sum = empty + 1;
  EXPECT_EQ(sum.kind(), Kind::kI16);
  EXPECT_EQ(sum.Value(), 1);
  EXPECT_EQ((empty + empty).kind(), Kind::kI16);
  EXPECT_EQ((empty * 24).Value(), 0);
  EXPECT_EQ(Mod(empty + 1, 2).Value(), 1);
}

TEST(TypedNumberTest, IntegerArithmeticKeepsOrWidensTheKind) {
  EXPECT_EQ((TypedNumber(23) + 24).kind(), Kind::kI16);
  EXPECT_EQ((TypedNumber(30000) + 30000).kind(), Kind::kI32);  // widens rather than wraps
  EXPECT_EQ((TypedNumber(30000) + 30000).Value(), 60000);
  EXPECT_EQ((TypedNumber(1000000) - 1).kind(), Kind::kI32);
  EXPECT_EQ(ErrorNumberOf([] { return TypedNumber::I32(INT32_MAX) + 1; }), kOverflow);
  EXPECT_EQ((TypedNumber(2.5f) + 1).kind(), Kind::kF32);
  EXPECT_EQ((TypedNumber(2.5f) + 1).Value(), 3.5);
}

TEST(TypedNumberTest, ModTruncatesWithTheSignOfTheDividend) {
  EXPECT_EQ(Mod(23, 24).Value(), 23);
  EXPECT_EQ(Mod(24, 24).Value(), 0);
  EXPECT_EQ(Mod(47, 24).Value(), 23);
  EXPECT_EQ(Mod(-7, 24).Value(), -7);
  EXPECT_EQ(Mod(7, -24).Value(), 7);
  EXPECT_EQ(Mod(2, 2).Value(), 0);
  EXPECT_EQ(Mod(47, 24).kind(), Kind::kI16);
  EXPECT_EQ(Mod(TypedNumber(2.5f), 24).Value(), 2);  // halves round to even first
  EXPECT_EQ(Mod(TypedNumber(3.5f), 24).Value(), 4);
  EXPECT_EQ(ErrorNumberOf([] { return Mod(5, TypedNumber()); }), kDivisionByZero);
}

TEST(TypedNumberTest, ConversionToInt32RoundsHalvesToEven) {
  EXPECT_EQ(TypedNumber(0.5f).ToInt32(), 0);
  EXPECT_EQ(TypedNumber(1.5f).ToInt32(), 2);
  EXPECT_EQ(TypedNumber(-2.5f).ToInt32(), -2);
  EXPECT_EQ(TypedNumber().ToInt32(), 0);
  EXPECT_EQ(TypedNumber(1000000).ToInt32(), 1000000);
  EXPECT_EQ(ErrorNumberOf([] { return TypedNumber(3e9f).ToInt32(); }), kOverflow);
}

TEST(TypedNumberTest, SingleProductRoundsOnce) {
  EXPECT_EQ(SingleProduct(10, 30, 20).kind(), Kind::kF32);
  EXPECT_EQ(SingleProduct(10, 30, 20).Value(), 6000);
  EXPECT_EQ(SingleProduct(0, 30, 29.84375f).Value(), 0);
  // Rounding X × 30 to single precision first would give 5539.33545.
  EXPECT_EQ(SingleProduct(6.20528746f, 30, 29.7559948f).Value(), 5539.33496f);
  EXPECT_EQ(SingleProduct(0.5f, 30, 0.85f).Value(), static_cast<float>(0.5 * 30 * 0.85f));
}

TEST(TypedNumberTest, SingleProductRaisesFloatingPointErrors) {
  EXPECT_EQ(ErrorNumberOf([] { return SingleProduct(3e38f, 30, 1); }), kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { return SingleProduct(-1e30f, 30, 1e30f); }), kOverflow);
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(ErrorNumberOf([&] { return SingleProduct(inf, 30, 0); }), kInvalidCall);
  EXPECT_EQ(ErrorNumberOf([] { return SingleProduct(NAN, 30, 1); }), kInvalidCall);
}

TEST(TypedNumberTest, CountStepsFromZeroUpToTheEnd) {
  EXPECT_EQ(CountSteps(TypedNumber(0)), 1u);
  EXPECT_EQ(CountSteps(TypedNumber()), 1u);
  EXPECT_EQ(CountSteps(TypedNumber(2.5f)), 3u);
  EXPECT_EQ(CountSteps(TypedNumber(-3)), 0u);
  EXPECT_EQ(CountSteps(TypedNumber(-0.5f)), 0u);
  EXPECT_EQ(CountSteps(TypedNumber(12.75f)), 13u);
  EXPECT_EQ(CountSteps(TypedNumber(10000)), 10001u);
  EXPECT_EQ(CountSteps(TypedNumber(1000000)), 1000001u);
  EXPECT_EQ(CountSteps(TypedNumber(FLT_MAX)), std::numeric_limits<uint64_t>::max());
}

}  // namespace
}  // namespace vk
