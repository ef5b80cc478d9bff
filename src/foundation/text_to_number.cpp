#include <limits>

#include "foundation/string.h"

namespace vorn {
namespace {

constexpr const char16_t* kEmpty = u"";

bool IsDigit(char16_t unit) noexcept {
  return unit >= u'0' && unit <= u'9';
}

int HexValue(char16_t unit) noexcept {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  return -1;
}

bool StartsWithHexPrefix(const char16_t* text) noexcept {
  return text[0] == u'0' && text[1] == u'x';
}

const char16_t* SkipWhiteSpace(const char16_t* text) noexcept {
  while (IsWhiteSpace(*text)) ++text;
  return text;
}

// "0x" texts are read in 32 bits and sign-extended, so "0xFFFFFFFF" is -1
// whether it is read into 32 or 64 bits.
uint64_t HexPrefixedBits(const char16_t* text) noexcept {
  const int32_t value = static_cast<int32_t>(HexTextToUInt32(text + 2));
  return static_cast<uint64_t>(static_cast<int64_t>(value));
}

// Decimal digits accumulated with wrap-around: overflow is not reported, and
// unsigned arithmetic keeps it defined.
uint64_t DecimalDigits(const char16_t* text) noexcept {
  uint64_t value = 0;
  for (; IsDigit(*text); ++text) value = value * 10 + static_cast<uint64_t>(*text - u'0');
  return value;
}

// The signed rules on 64 bits; the 32-bit conversion keeps the low half,
// which is the same as accumulating in 32 bits.
uint64_t SignedBits(const char16_t* text) noexcept {
  if (text == nullptr) return 0;
  if (StartsWithHexPrefix(text)) return HexPrefixedBits(text);
  text = SkipWhiteSpace(text);
  bool negative = false;
  if (*text == u'+' || *text == u'-') negative = *text++ == u'-';
  const uint64_t magnitude = DecimalDigits(text);
  return negative ? 0 - magnitude : magnitude;
}

uint64_t UnsignedBits(const char16_t* text) noexcept {
  if (text == nullptr) return 0;
  if (StartsWithHexPrefix(text)) return HexPrefixedBits(text);
  text = SkipWhiteSpace(text);
  if (*text == u'+') ++text;
  return DecimalDigits(text);
}

}  // namespace

int32_t TextToInt32(const char16_t* text) noexcept {
  return static_cast<int32_t>(static_cast<uint32_t>(SignedBits(text)));
}

uint32_t TextToUInt32(const char16_t* text) noexcept {
  return static_cast<uint32_t>(UnsignedBits(text));
}

int64_t TextToInt64(const char16_t* text) noexcept {
  return static_cast<int64_t>(SignedBits(text));
}

uint64_t TextToUInt64(const char16_t* text) noexcept {
  return UnsignedBits(text);
}

uint32_t HexTextToUInt32(const char16_t* text) noexcept {
  return HexTextToUInt32(text, 0xFFFFFFFFu);
}

uint32_t HexTextToUInt32(const char16_t* text, uint32_t max_digits) noexcept {
  if (text == nullptr) text = kEmpty;
  uint32_t value = 0;
  for (uint32_t taken = 0; taken < max_digits; ++taken, ++text) {
    const int digit = HexValue(*text);
    if (digit < 0) break;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return value;
}

float TextToFloat(const char16_t* text) noexcept {
  if (text == nullptr) return 0.0f;
  bool negative = false;
  if (*text == u'-') {
    negative = true;
    ++text;
  }
  // The digits as one integer over ten to the number of decimals. Digits past
  // the nineteenth cannot change a float but would overflow the integer, so
  // the integer part only counts them as powers of ten and the decimals drop
  // them.
  constexpr int kSignificant = 19;
  constexpr int kMaxScale = 400;  // beyond this any float is 0 or infinite
  uint64_t digits = 0;
  int kept = 0;
  int scale = 0;  // positive: the integer times 10^scale; negative: divided
  bool any = false;
  for (; IsDigit(*text); ++text, any = true) {
    if (digits == 0 && *text == u'0') continue;
    if (kept < kSignificant) {
      digits = digits * 10 + static_cast<uint64_t>(*text - u'0');
      ++kept;
    } else if (scale < kMaxScale) {
      ++scale;
    }
  }
  if (*text == u'.') {
    for (++text; IsDigit(*text); ++text, any = true) {
      if (kept >= kSignificant || scale <= -kMaxScale) continue;
      if (digits != 0 || *text != u'0') ++kept;
      digits = digits * 10 + static_cast<uint64_t>(*text - u'0');
      --scale;
    }
  }
  if (!any) return 0.0f;
  double value = static_cast<double>(digits);
  for (; scale > 0; --scale) value *= 10.0;
  if (scale < 0) {
    // One division by an exact power of ten keeps the usual cases (a few
    // decimals) correctly rounded.
    double divisor = 1.0;
    for (; scale < 0; ++scale) divisor *= 10.0;
    value /= divisor;
  }
  // At and above the midpoint between the largest float and 2^128 the
  // conversion would round to infinity, but out of range it is undefined.
  const float result =
      value >= 0x1.ffffffp127 ? std::numeric_limits<float>::infinity() : static_cast<float>(value);
  return negative ? -result : result;
}

}  // namespace vorn
