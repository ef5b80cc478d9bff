#include "ui/control_defaults_values.h"

namespace vorn {

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
