#include "ui/window_id.h"

#include <cstdint>

namespace vorn {

WindowId WindowIdOfAddress(const void* address) noexcept {
  // The text "{0}" gives for an address: its low 32 bits as eight lower-case
  // hexadecimal digits. Written directly, as every window without an "ID"
  // needs it when it is constructed.
  const auto bits = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
  char16_t text[8];
  for (int i = 0; i < 8; ++i) {
    const uint32_t digit = (bits >> (28 - 4 * i)) & 0xF;
    text[i] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + (digit - 10));
  }
  return WindowIdOf(text, 8);
}

}  // namespace vorn
