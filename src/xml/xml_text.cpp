#include "xml/xml_text.h"

#include <cstdlib>

#include "foundation/string.h"

namespace vorn {

char16_t* CopyXmlText(const char16_t* text, uint32_t length) noexcept {
  char16_t* copy = static_cast<char16_t*>(std::malloc((size_t{length} + 1) * sizeof(char16_t)));
  if (!copy) return nullptr;
  if (length > 0) std::memcpy(copy, text, length * sizeof(char16_t));
  copy[length] = 0;
  return copy;
}

bool XmlTextEquals(const char16_t* text, const char16_t* other, uint32_t other_length) noexcept {
  if (!text) return false;
  for (uint32_t i = 0; i < other_length; ++i) {
    if (text[i] != other[i]) return false;  // also stops at text's terminator
  }
  return text[other_length] == 0;
}

bool XmlTextEquals(const char16_t* text, const char16_t* other) noexcept {
  if (!text || !other) return false;
  while (*text && *text == *other) ++text, ++other;
  return *text == *other;
}

uint32_t CollapseXmlWhiteSpace(char16_t* text, uint32_t length) noexcept {
  uint32_t out = 0;
  bool in_space = false;
  for (uint32_t i = 0; i < length; ++i) {
    const char16_t unit = text[i];
    if (IsWhiteSpace(unit)) {
      in_space = true;
      continue;
    }
    if (in_space && out > 0) text[out++] = u' ';
    in_space = false;
    text[out++] = unit;
  }
  return out;
}

uint32_t NormalizeXmlComment(char16_t* text, uint32_t length) noexcept {
  length = CollapseXmlWhiteSpace(text, length);
  uint32_t out = 0;
  for (uint32_t i = 0; i < length; ++i) {
    if (text[i] == u'-' && out > 0 && text[out - 1] == u'-') continue;
    text[out++] = text[i];
  }
  // Dashes and white space are dropped from the end together: a comment
  // such as "a - -" must not keep a trailing space that a second reading
  // would collapse away, or writing and re-reading it would change it.
  while (out > 0 && (text[out - 1] == u'-' || IsWhiteSpace(text[out - 1]))) --out;
  return out;
}

bool IsXmlWhiteSpaceOnly(const char16_t* text, uint32_t length) noexcept {
  for (uint32_t i = 0; i < length; ++i) {
    if (!IsWhiteSpace(text[i])) return false;
  }
  return true;
}

double XmlTextToDouble(const char16_t* text) noexcept {
  if (!text) return 0.0;
  // A number never needs more than its ASCII prefix; long texts get a heap
  // copy rather than a cut that would change their value.
  char local[128];
  uint32_t length = 0;
  while (text[length] != 0 && text[length] < 0x80) ++length;
  char* narrow = length < sizeof(local) ? local : static_cast<char*>(std::malloc(length + 1));
  if (!narrow) return 0.0;
  for (uint32_t i = 0; i < length; ++i) narrow[i] = static_cast<char>(text[i]);
  narrow[length] = 0;
  const double value = std::strtod(narrow, nullptr);
  if (narrow != local) std::free(narrow);
  return value;
}

Result XmlTextBuffer::Grow(uint32_t extra) noexcept {
  const uint64_t needed = uint64_t{length_} + extra;
  if (needed > UINT32_MAX / 2) return kOutOfMemory;
  uint64_t capacity = capacity_ < 256 ? 256 : uint64_t{capacity_} * 2;
  while (capacity < needed) capacity *= 2;
  if (capacity > UINT32_MAX / 2) capacity = UINT32_MAX / 2;
  void* grown = std::realloc(units_, capacity * sizeof(char16_t));
  if (!grown) return kOutOfMemory;
  units_ = static_cast<char16_t*>(grown);
  capacity_ = static_cast<uint32_t>(capacity);
  return kOk;
}

}  // namespace vorn
