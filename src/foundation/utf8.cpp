#include <cstdlib>
#include <cstring>

#include "foundation/string.h"

namespace vorn {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Texts up to this many units are decoded on the stack; longer ones in one
// heap block of the worst-case size (one unit per byte).
constexpr size_t kStackUnits = 256;

bool IsContinuation(unsigned char byte) noexcept {
  return (byte & 0xC0) == 0x80;
}

// Decodes one sequence at `in` (with `left` bytes available) and returns the
// bytes it used. A malformed sequence uses its maximal valid prefix (at least
// one byte) and gives U+FFFD, so every bad byte run is visible but no valid
// character after it is swallowed.
size_t DecodeOne(const unsigned char* in, size_t left, uint32_t& code) noexcept {
  const unsigned char lead = in[0];
  if (lead < 0x80) {
    code = lead != 0 ? lead : kReplacement;  // a 0 unit cannot live in a String
    return 1;
  }
  size_t needed;
  uint32_t value;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    needed = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    needed = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    needed = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    code = kReplacement;
    return 1;
  }
  size_t used = 1;
  for (size_t i = 0; i < needed; ++i, ++used) {
    if (used >= left) {
      code = kReplacement;
      return used;
    }
    const unsigned char byte = in[used];
    const bool fits = i == 0 ? (byte >= low && byte <= high) : IsContinuation(byte);
    if (!fits) {
      code = kReplacement;
      return used;
    }
    value = (value << 6) | (byte & 0x3F);
  }
  code = value;
  return used;
}

size_t DecodeAll(const unsigned char* in, size_t length, char16_t* out) noexcept {
  size_t written = 0;
  size_t at = 0;
  while (at < length) {
    uint32_t code;
    at += DecodeOne(in + at, length - at, code);
    if (code < 0x10000) {
      out[written++] = static_cast<char16_t>(code);
    } else {
      code -= 0x10000;
      out[written++] = static_cast<char16_t>(0xD800 + (code >> 10));
      out[written++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
  }
  return written;
}

// Bytes of the UTF-8 form of the unit(s) at text[i]; advances i past them.
uint32_t NextCodePoint(const char16_t* text, uint32_t length, uint32_t& i) noexcept {
  const char16_t unit = text[i++];
  if (unit >= 0xD800 && unit <= 0xDBFF && i < length && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
    return 0x10000 + ((static_cast<uint32_t>(unit) - 0xD800) << 10) + (text[i++] - 0xDC00);
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacement;
  return unit;
}

char* EncodeOne(uint32_t code, char* out) noexcept {
  if (code < 0x80) {
    *out++ = static_cast<char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<char>(0xC0 | (code >> 6));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (code >> 12));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (code >> 18));
    *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

}  // namespace

String Utf8ToString(const char* utf8, size_t length) noexcept {
  if (utf8 == nullptr || length == 0 || length > 0x3FFFFFF0u) return String();
  const auto* in = reinterpret_cast<const unsigned char*>(utf8);
  if (length <= kStackUnits) {
    char16_t units[kStackUnits];
    const size_t written = DecodeAll(in, length, units);
    return String(units, static_cast<uint32_t>(written));
  }
  auto* units = static_cast<char16_t*>(std::malloc(length * sizeof(char16_t)));
  if (units == nullptr) return String();
  const size_t written = DecodeAll(in, length, units);
  String text(units, static_cast<uint32_t>(written));
  std::free(units);
  return text;
}

String Utf8ToString(const char* utf8) noexcept {
  return Utf8ToString(utf8, utf8 != nullptr ? std::strlen(utf8) : 0);
}

Utf8Text::Utf8Text(const String& text) noexcept : Utf8Text(text.Text()) {}

Utf8Text::Utf8Text(const char16_t* text) noexcept {
  const uint32_t length = TextLength(text);
  if (length == 0) return;
  // At most three bytes per unit: a pair of surrogates takes four bytes for
  // two units.
  data_ = static_cast<char*>(std::malloc(static_cast<size_t>(length) * 3 + 1));
  if (data_ == nullptr) return;
  char* out = data_;
  for (uint32_t i = 0; i < length;) out = EncodeOne(NextCodePoint(text, length, i), out);
  *out = 0;
  length_ = static_cast<size_t>(out - data_);
}

Utf8Text::~Utf8Text() {
  std::free(data_);
}

}  // namespace vorn
