// The value of every player field: empty, 16-bit integer, 32-bit integer or single float.
#pragma once

#include <cstdint>

namespace vk {

// A number whose kind follows the value last assigned; empty acts as 0 in every operation.
// Arithmetic follows the forms runtime's rules for typed numbers: integer operands give the
// wider integer kind (a 16-bit result that does not fit widens to 32 bits), a float operand gives
// a float, and results that fit no kind raise an overflow error.
class TypedNumber {
 public:
  enum class Kind : uint8_t { kEmpty, kI16, kI32, kF32 };

  TypedNumber() = default;
  // An integer constant takes the kind of a literal: 16-bit when it fits, else 32-bit.
  TypedNumber(int32_t v);  // NOLINT(google-explicit-constructor): constants read as in the form
  TypedNumber(float v);    // NOLINT(google-explicit-constructor)

  static TypedNumber I16(int16_t v);
  static TypedNumber I32(int32_t v);

  Kind kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == Kind::kEmpty; }
  bool IsInteger() const { return kind_ == Kind::kI16 || kind_ == Kind::kI32; }
  // The value as a double, exact for every kind; empty gives 0.
  double Value() const;
  // Conversion to a 32-bit integer, rounding halves to even; out of range raises overflow.
  int32_t ToInt32() const;

  friend TypedNumber operator+(const TypedNumber& a, const TypedNumber& b);
  friend TypedNumber operator-(const TypedNumber& a, const TypedNumber& b);
  friend TypedNumber operator*(const TypedNumber& a, const TypedNumber& b);
  // Mod: remainder of truncating integer division, with the sign of the dividend; float
  // operands are first rounded to integers. A zero divisor raises division by zero.
  friend TypedNumber Mod(const TypedNumber& a, const TypedNumber& b);

  // Numeric comparisons: empty equals 0 and no other value.
  friend bool operator==(const TypedNumber& a, const TypedNumber& b) {
    return a.Value() == b.Value();
  }
  friend bool operator!=(const TypedNumber& a, const TypedNumber& b) { return !(a == b); }
  friend bool operator>=(const TypedNumber& a, const TypedNumber& b) {
    return a.Value() >= b.Value();
  }

 private:
  Kind kind_ = Kind::kEmpty;
  int32_t int_ = 0;  // value of both integer kinds
  float float_ = 0;
};

TypedNumber Mod(const TypedNumber& a, const TypedNumber& b);

// x × c × y formed exactly and rounded once to single precision (ties to even), as the speed of
// the pointer sets it. Overflow or an invalid operation raises a floating-point error.
TypedNumber SingleProduct(float x, int32_t c, float y);

// Steps of a count from 0 up to `end` by 1: floor(end) + 1 for end >= 0, none below 0. Counts of
// 2^64 steps or more, which no machine can wait out, saturate at the largest 64-bit count.
uint64_t CountSteps(const TypedNumber& end);

}  // namespace vk
