// Typed-number arithmetic: kinds, promotion and the errors it raises.
#include "player/typed_number.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "runtime/errors.h"

namespace vk {
namespace {

[[noreturn]] void RaiseOverflow() { throw RuntimeError(kOverflow, "Overflow"); }

bool IsFloat(const TypedNumber& a) { return a.kind() == TypedNumber::Kind::kF32; }
bool IsWide(const TypedNumber& a) { return a.kind() == TypedNumber::Kind::kI32; }

// An integer result in the narrowest kind that the operands allow and the value fits.
TypedNumber IntegerResult(int64_t v, bool wide) {
  if (!wide && v >= INT16_MIN && v <= INT16_MAX) return TypedNumber::I16(static_cast<int16_t>(v));
  if (v < INT32_MIN || v > INT32_MAX) RaiseOverflow();
  return TypedNumber::I32(static_cast<int32_t>(v));
}

TypedNumber FloatResult(double v) {
  const float f = static_cast<float>(v);
  if (!std::isfinite(f)) RaiseOverflow();
  return TypedNumber(f);
}

template <typename IntOp, typename FloatOp>
TypedNumber Arithmetic(const TypedNumber& a, const TypedNumber& b, IntOp int_op, FloatOp float_op) {
  if (IsFloat(a) || IsFloat(b)) return FloatResult(float_op(a.Value(), b.Value()));
  const auto x = static_cast<int64_t>(a.Value());
  const auto y = static_cast<int64_t>(b.Value());
  return IntegerResult(int_op(x, y), IsWide(a) || IsWide(b));
}

}  // namespace

TypedNumber::TypedNumber(int32_t v)
    : kind_(v >= INT16_MIN && v <= INT16_MAX ? Kind::kI16 : Kind::kI32), int_(v) {}

TypedNumber::TypedNumber(float v) : kind_(Kind::kF32), float_(v) {}

TypedNumber TypedNumber::I16(int16_t v) { return TypedNumber(static_cast<int32_t>(v)); }

TypedNumber TypedNumber::I32(int32_t v) {
  TypedNumber t;
  t.kind_ = Kind::kI32;
  t.int_ = v;
  return t;
}

double TypedNumber::Value() const {
  switch (kind_) {
    case Kind::kEmpty:
      return 0;
    case Kind::kI16:
    case Kind::kI32:
      return int_;
    case Kind::kF32:
      return float_;
  }
  return 0;
}

int32_t TypedNumber::ToInt32() const {
  if (kind_ != Kind::kF32) return int_;
  const double r = std::nearbyint(static_cast<double>(float_));  // default mode: halves to even
  if (!(r >= INT32_MIN && r <= INT32_MAX)) RaiseOverflow();
  return static_cast<int32_t>(r);
}

TypedNumber operator+(const TypedNumber& a, const TypedNumber& b) {
  return Arithmetic(
      a, b, [](int64_t x, int64_t y) { return x + y; }, [](double x, double y) { return x + y; });
}

TypedNumber operator-(const TypedNumber& a, const TypedNumber& b) {
  return Arithmetic(
      a, b, [](int64_t x, int64_t y) { return x - y; }, [](double x, double y) { return x - y; });
}

TypedNumber operator*(const TypedNumber& a, const TypedNumber& b) {
  return Arithmetic(
      a, b, [](int64_t x, int64_t y) { return x * y; }, [](double x, double y) { return x * y; });
}

TypedNumber Mod(const TypedNumber& a, const TypedNumber& b) {
  const int64_t x = a.ToInt32();
  const int64_t y = b.ToInt32();
  if (y == 0) throw RuntimeError(kDivisionByZero, "Division by zero");
  // C++ division truncates, so % already carries the sign of the dividend.
  return IntegerResult(x % y, IsWide(a) || IsWide(b) || IsFloat(a) || IsFloat(b));
}

TypedNumber SingleProduct(float x, int32_t c, float y) {
  // Two single floats and a small integer multiply exactly in double precision, so the one
  // narrowing below is the only rounding.
  const double exact = static_cast<double>(x) * c * static_cast<double>(y);
  const float product = static_cast<float>(exact);
  if (std::isnan(exact)) {  // infinity times zero, or a coordinate that is no number
    throw RuntimeError(kInvalidCall, "Invalid procedure call or argument");
  }
  if (!std::isfinite(product)) RaiseOverflow();
  return TypedNumber(product);
}

uint64_t CountSteps(const TypedNumber& end) {
  const double e = end.Value();
  if (!(e >= 0)) return 0;
  const double steps = std::floor(e) + 1;
  // 2^64 as a double; anything at or above it saturates.
  if (steps >= 18446744073709551616.0) return std::numeric_limits<uint64_t>::max();
  return static_cast<uint64_t>(steps);
}

}  // namespace vk
