// Window identifiers: one 16-bit number that is at once a window's
// identifier, its control identifier and the number of the command it sends.
// It is the CRC-16 (polynomial 0x1021, initial 0xFFFF, no reflection, no
// final XOR) of the name's UTF-16LE bytes, so handlers compare commands with
// WindowIdOf(u"InstallCmd") and a test driver finds a control by its name.
#pragma once

#include <cstdint>

namespace vorn {

using WindowId = uint16_t;

// The identifier of the empty name, and the "no window" value.
inline constexpr WindowId kNoWindowId = 0xFFFF;

constexpr WindowId WindowIdOf(const char16_t* name, uint32_t length) noexcept {
  uint32_t crc = 0xFFFF;
  for (uint32_t i = 0; i < length; ++i) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(name[i] & 0xFF),
                              static_cast<uint8_t>(name[i] >> 8)};
    for (uint8_t byte : bytes) {
      crc ^= static_cast<uint32_t>(byte) << 8;
      for (int bit = 0; bit < 8; ++bit) {
        crc = (crc & 0x8000) != 0 ? ((crc << 1) ^ 0x1021) : (crc << 1);
        crc &= 0xFFFF;
      }
    }
  }
  return static_cast<WindowId>(crc);
}

constexpr WindowId WindowIdOf(const char16_t* name) noexcept {
  uint32_t length = 0;
  if (name != nullptr) {
    while (name[length] != 0) ++length;
  }
  return WindowIdOf(name, length);
}

// The reserved names: the window that holds an expression, its parent, and
// the two standard commands of dialog boxes.
inline constexpr WindowId kSelfId = WindowIdOf(u"Self");
inline constexpr WindowId kParentId = WindowIdOf(u"Parent");
inline constexpr WindowId kOkId = WindowIdOf(u"OK");
inline constexpr WindowId kCancelId = WindowIdOf(u"Cancel");

// The identifier of a window without an "ID": that of its object address
// written as eight lower-case hexadecimal digits.
WindowId WindowIdOfAddress(const void* address) noexcept;

}  // namespace vorn
