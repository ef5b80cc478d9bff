// Text helpers shared by the XML units: heap copies, a growable unit
// buffer that reports allocation failure, and the white-space rules applied
// to attribute values and comments.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "foundation/result.h"

namespace vorn {

// A zero-terminated heap copy (malloc), null when out of memory.
char16_t* CopyXmlText(const char16_t* text, uint32_t length) noexcept;
bool XmlTextEquals(const char16_t* text, const char16_t* other, uint32_t other_length) noexcept;
bool XmlTextEquals(const char16_t* text, const char16_t* other) noexcept;

// Collapses white space in place (leading and trailing dropped, inner runs
// become one space); returns the new length.
uint32_t CollapseXmlWhiteSpace(char16_t* text, uint32_t length) noexcept;
// A comment's stored form: collapsed, dash runs reduced to one dash, and
// neither a dash nor white space at the end. Returns the new length.
uint32_t NormalizeXmlComment(char16_t* text, uint32_t length) noexcept;
bool IsXmlWhiteSpaceOnly(const char16_t* text, uint32_t length) noexcept;

// The C runtime's text-to-double conversion of a UTF-16 text (characters
// outside ASCII end the number).
double XmlTextToDouble(const char16_t* text) noexcept;

// A growable run of code units for the parser's texts and names.
class XmlTextBuffer {
 public:
  XmlTextBuffer() noexcept = default;
  ~XmlTextBuffer() { std::free(units_); }
  XmlTextBuffer(const XmlTextBuffer&) = delete;
  XmlTextBuffer& operator=(const XmlTextBuffer&) = delete;

  char16_t* Units() noexcept { return units_; }
  const char16_t* Units() const noexcept { return units_; }
  uint32_t Length() const noexcept { return length_; }
  void Clear() noexcept { length_ = 0; }
  void SetLength(uint32_t length) noexcept { length_ = length; }

  Result Append(char16_t unit) noexcept {
    if (length_ == capacity_) {
      const Result result = Grow(1);
      if (result != kOk) return result;
    }
    units_[length_++] = unit;
    return kOk;
  }
  Result Append(const char16_t* units, uint32_t count) noexcept {
    if (count == 0) return kOk;
    if (count > capacity_ - length_) {
      const Result result = Grow(count);
      if (result != kOk) return result;
    }
    std::memcpy(units_ + length_, units, count * sizeof(char16_t));
    length_ += count;
    return kOk;
  }

 private:
  Result Grow(uint32_t extra) noexcept;

  char16_t* units_ = nullptr;
  uint32_t length_ = 0;
  uint32_t capacity_ = 0;
};

}  // namespace vorn
