// The text of a floating-point number as the formatter writes it: fixed-point
// digits produced by repeated division, rounded half up at the last decimal.
#pragma once

#include <cstdint>

namespace vorn {

// More decimals than this could never appear in a formatted result.
constexpr uint32_t kMaxNumberPrecision = 4095;
// Room NumberText may use: sign, up to 251 integer digits or a mantissa with
// its exponent, '.', and the decimals.
constexpr uint32_t kNumberTextCapacity = kMaxNumberPrecision + 272;

// Writes the number text of `value` with `precision` decimals (clamped to
// kMaxNumberPrecision) into `out`; with `trim_zeros` ("g") trailing zeros of
// the decimals and then a bare '.' are removed. Returns the units written.
uint32_t NumberText(double value, uint32_t precision, bool trim_zeros, char16_t* out) noexcept;

}  // namespace vorn
