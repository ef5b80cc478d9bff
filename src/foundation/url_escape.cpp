#include "foundation/url_escape.h"

namespace vorn {
namespace {

// The replacement of a unit, or null when it is copied as it is.
const char16_t* Replacement(char16_t unit) noexcept {
  switch (unit) {
    case u' ':
      return u"+";
    case u'!':
      return u"%21";
    case u'#':
      return u"%23";
    case u'$':
      return u"%24";
    case u'&':
      return u"%26";
    case u'\'':
      return u"%27";
    case u'(':
      return u"%28";
    case u')':
      return u"%29";
    case u'*':
      return u"%2A";
    case u'+':
      return u"%2B";
    case u',':
      return u"%2C";
    case u'/':
      return u"%2F";
    case u':':
      return u"%3A";
    case u';':
      return u"%3B";
    case u'=':
      return u"%3D";
    case u'?':
      return u"%3F";
    case u'@':
      return u"%40";
    case u'[':
      return u"%5B";
    case u']':
      return u"%5D";
    default:
      return nullptr;
  }
}

}  // namespace

String EscapeUrlText(const char16_t* text) noexcept {
  String escaped;
  if (!text) return escaped;
  // Sized once up front, so that no append can fail half-way and hand out
  // a silently shortened value.
  uint64_t length = 0;
  for (const char16_t* p = text; *p; ++p) {
    const char16_t* replacement = Replacement(*p);
    length += replacement ? TextLength(replacement) : 1;
  }
  if (length >= UINT32_MAX || !escaped.Reserve(static_cast<uint32_t>(length))) return String();
  for (const char16_t* p = text; *p; ++p) {
    const char16_t* replacement = Replacement(*p);
    if (replacement) {
      escaped.Append(replacement);
    } else {
      escaped.Append(*p);
    }
  }
  return escaped;
}

}  // namespace vorn
