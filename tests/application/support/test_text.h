// Text helpers for the application tests: Strings as std::u16string for
// readable assertions.
#pragma once

#include <string>

#include "foundation/string.h"

namespace vorn::testing {

inline std::u16string Text(const String& text) {
  return std::u16string(text.Text(), text.Length());
}

}  // namespace vorn::testing
