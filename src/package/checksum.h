// CRC-32 as zlib and IEEE 802.3 compute it (reflected 0xEDB88320, initial and
// final complement), over one or more pieces of a record.
#pragma once

#include <cstdint>

namespace vorn {

uint32_t Crc32(uint32_t crc, const void* data, uint32_t size) noexcept;
inline uint32_t Crc32(const void* data, uint32_t size) noexcept {
  return Crc32(0, data, size);
}

}  // namespace vorn
