#include "package/checksum.h"

#include <zlib.h>

namespace vorn {

uint32_t Crc32(uint32_t crc, const void* data, uint32_t size) noexcept {
  return static_cast<uint32_t>(crc32(crc, static_cast<const Bytef*>(data), size));
}

}  // namespace vorn
