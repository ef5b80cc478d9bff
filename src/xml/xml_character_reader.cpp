#include "xml/xml_character_reader.h"

namespace vorn {

Result XmlCharacterReader::Fill() noexcept {
  const char16_t* units = nullptr;
  uint32_t count = 0;
  const Result result = stream_.ReadUnits(units, count);
  if (result != kOk) return result;
  cur_ = units;
  end_ = units + count;
  if (!settled_) {
    // A stream without a byte-order mark has handed out its first byte as
    // it is; from here on it is UTF-8.
    settled_ = true;
    if (stream_.Mode() == kTextEncodingAnsi) stream_.SetMode(kTextEncodingUtf8);
  }
  return kOk;
}

Result XmlCharacterReader::Peek(char16_t& unit) noexcept {
  if (pushed_back_) {
    unit = pushed_back_;
    return kOk;
  }
  if (cur_ == end_) {
    const Result result = Fill();
    if (result != kOk) return result;
  }
  unit = *cur_;
  return kOk;
}

// The units below 0x20 and the two line-end characters outside ASCII.
Result XmlCharacterReader::Account(char16_t& unit) noexcept {
  switch (unit) {
    case 0:
      return kSyntaxError;
    case u'\t':
      column_ = (column_ + 4) & ~3u;
      return kOk;
    case u'\r':
      // The partner of a CR may open the next block. When that refill
      // fails, the CR still counts and the failure comes with the next unit.
      if (cur_ == end_) Fill();
      if (cur_ < end_ && (*cur_ == u'\n' || *cur_ == 0x85)) ++cur_;
      [[fallthrough]];
    case u'\n':
    case 0x85:
    case 0x2028:
      unit = u'\n';
      ++line_;
      column_ = 0;
      return kOk;
    default:
      ++column_;
      return kOk;
  }
}

}  // namespace vorn
