// The parser's character source: UTF-16 units from a TextStream, taken a
// decoded block at a time, with line ends normalized, a 0 unit refused, one
// unit of push-back and the line and column of the position kept for
// diagnostics.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "package/text_stream.h"
#include "xml/xml_text.h"

namespace vorn {

class XmlCharacterReader {
 public:
  explicit XmlCharacterReader(TextStream& stream) noexcept : stream_(stream) {}

  // The next unit: CR LF, CR U+0085, CR, U+0085 and U+2028 each arrive as
  // one LF. 19 at the end of the stream, 34 for a 0 unit.
  Result Next(char16_t& unit) noexcept {
    if (pushed_back_) {
      unit = pushed_back_;
      pushed_back_ = 0;
      return kOk;
    }
    if (cur_ == end_) {
      const Result result = Fill();
      if (result != kOk) return result;
    }
    unit = *cur_++;
    if (unit >= 0x20 && unit != 0x85 && unit != 0x2028) {
      ++column_;
      return kOk;
    }
    return Account(unit);
  }

  // The unit Next would deliver, before line-end normalization, without
  // taking it.
  Result Peek(char16_t& unit) noexcept;
  // The unit is delivered again by the next Next (its position is not
  // counted twice).
  void PushBack(char16_t unit) noexcept { pushed_back_ = unit; }

  // Takes the longest run of units that `is_plain` accepts from the block
  // at hand into `out`. `is_plain` may accept LF and TAB but never a unit
  // that needs normalizing (CR, U+0085, U+2028) or 0. Stops at the end of
  // the block; the caller goes on with Next.
  template <class IsPlain>
  Result TakeRun(XmlTextBuffer& out, IsPlain is_plain) noexcept {
    if (pushed_back_ || cur_ == end_) return kOk;
    const char16_t* p = cur_;
    uint32_t line = line_;
    uint32_t column = column_;
    for (; p < end_; ++p) {
      const char16_t unit = *p;
      if (!is_plain(unit)) break;
      if (unit == u'\n') {
        ++line;
        column = 0;
      } else if (unit == u'\t') {
        column = (column + 4) & ~3u;
      } else {
        ++column;
      }
    }
    const Result result = out.Append(cur_, static_cast<uint32_t>(p - cur_));
    if (result != kOk) return result;
    cur_ = p;
    line_ = line;
    column_ = column;
    return kOk;
  }

  uint32_t Line() const noexcept { return line_; }
  uint32_t Column() const noexcept { return column_; }

 private:
  Result Fill() noexcept;
  Result Account(char16_t& unit) noexcept;

  TextStream& stream_;
  const char16_t* cur_ = nullptr;
  const char16_t* end_ = nullptr;
  uint32_t line_ = 1;
  uint32_t column_ = 0;
  char16_t pushed_back_ = 0;
  bool settled_ = false;
};

}  // namespace vorn
