// FormatText: fills templates such as "{0}", "{0,04}{1,02}{2,02}" or
// "{0:g}" from typed arguments. Any error in the template or the arguments
// yields the empty string; results hold at most 4095 code units.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "foundation/string.h"

namespace vorn {

enum class FormatTag : uint32_t {
  kChar = 0,
  kInt8 = 1,
  kUInt8 = 2,
  kInt16 = 3,
  kUInt16 = 4,
  kInt32 = 5,
  kUInt32 = 6,
  kInt64 = 7,
  kUInt64 = 8,
  kFloat32 = 9,
  kFloat64 = 10,
  kText = 11,
  kAddress = 12,
};

// One argument: the value in its own width at the start of 8 bytes, and its
// type tag.
struct FormatArgument {
  uint8_t value[8];
  uint32_t tag;

  // The value goes through one 64-bit word (the targets are little-endian,
  // so its bytes start the word) and is stored in one piece: byte-wise
  // stores followed by the formatter's wide load stall the processor.
  template <class T>
  static FormatArgument Make(T v, FormatTag t) noexcept {
    static_assert(sizeof(T) <= 8 && std::endian::native == std::endian::little);
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof(T));
    FormatArgument a;
    std::memcpy(a.value, &bits, sizeof bits);
    a.tag = static_cast<uint32_t>(t);
    return a;
  }
};

inline FormatArgument FormatChar(char16_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kChar);
}
inline FormatArgument FormatArg(int8_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kInt8);
}
inline FormatArgument FormatArg(uint8_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kUInt8);
}
inline FormatArgument FormatArg(int16_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kInt16);
}
inline FormatArgument FormatArg(uint16_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kUInt16);
}
inline FormatArgument FormatArg(int32_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kInt32);
}
inline FormatArgument FormatArg(uint32_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kUInt32);
}
inline FormatArgument FormatArg(int64_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kInt64);
}
inline FormatArgument FormatArg(uint64_t v) noexcept {
  return FormatArgument::Make(v, FormatTag::kUInt64);
}
inline FormatArgument FormatArg(float v) noexcept {
  return FormatArgument::Make(v, FormatTag::kFloat32);
}
inline FormatArgument FormatArg(double v) noexcept {
  return FormatArgument::Make(v, FormatTag::kFloat64);
}
inline FormatArgument FormatArg(const char16_t* v) noexcept {
  return FormatArgument::Make(v, FormatTag::kText);
}
inline FormatArgument FormatArg(const String& v) noexcept {
  return FormatArg(v.Text());
}
inline FormatArgument FormatAddress(const void* v) noexcept {
  return FormatArgument::Make(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(v)),
                              FormatTag::kAddress);
}

// The formatter itself: placeholder N refers to arguments[N].
String FormatText(const char16_t* format_template, uint32_t count,
                  const FormatArgument* const* arguments) noexcept;

// The decimal text of an integer, as "{0}" would write it, without parsing a
// template.
String IntegerText(int64_t value) noexcept;
String UnsignedText(uint64_t value) noexcept;

// Convenience: Format(u"{0}x{1}", FormatArg(w), FormatArg(h)).
template <class... A>
String Format(const char16_t* format_template, const A&... args) noexcept {
  if constexpr (sizeof...(A) == 0) {
    return FormatText(format_template, 0, nullptr);
  } else {
    const FormatArgument* pointers[] = {&args...};
    return FormatText(format_template, sizeof...(A), pointers);
  }
}

}  // namespace vorn
