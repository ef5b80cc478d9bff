#include "ui/control_defaults_values.h"

namespace vorn {

uint16_t ControlIdentifier(const char16_t* name) noexcept {
  uint16_t crc = 0xFFFF;
  if (!name) return crc;
  for (; *name; ++name) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(*name & 0xFF), static_cast<uint8_t>(*name >> 8)};
    for (uint8_t byte : bytes) {
      crc = static_cast<uint16_t>(crc ^ (byte << 8));
      for (int bit = 0; bit < 8; ++bit) {
        crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                             : static_cast<uint16_t>(crc << 1);
      }
    }
  }
  return crc;
}

namespace {

int HexDigit(char16_t unit) noexcept {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

}  // namespace

int32_t ControlInteger(const char16_t* text) noexcept {
  if (!text) return 0;
  while (*text == u' ' || *text == u'\t' || *text == u'\r' || *text == u'\n') ++text;
  uint32_t value = 0;
  if (text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    for (text += 2; HexDigit(*text) >= 0; ++text) {
      value = value * 16 + static_cast<uint32_t>(HexDigit(*text));
    }
    return static_cast<int32_t>(value);
  }
  bool negative = false;
  if (*text == u'+' || *text == u'-') negative = *text++ == u'-';
  for (; *text >= u'0' && *text <= u'9'; ++text) value = value * 10 + (*text - u'0');
  return static_cast<int32_t>(negative ? 0u - value : value);
}

bool SameAttributeText(const char16_t* text, const char16_t* expected) noexcept {
  if (!text || !expected) return false;
  while (*text && *text == *expected) ++text, ++expected;
  return *text == *expected;
}

}  // namespace vorn
