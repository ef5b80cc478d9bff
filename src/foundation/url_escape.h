// URL escaping of analytics parameter values: the characters that carry
// meaning in a query string are replaced, everything else (including '%'
// and text outside ASCII) is copied, since the HTTP layer encodes the whole
// body as UTF-8 afterwards.
#pragma once

#include "foundation/string.h"

namespace vorn {

// A null text gives the empty string; so does running out of memory.
String EscapeUrlText(const char16_t* text) noexcept;
inline String EscapeUrlText(const String& text) noexcept {
  return EscapeUrlText(text.Text());
}

}  // namespace vorn
