#include "package/path_hash.h"

#include "foundation/string.h"

namespace vorn {

// SuperFastHash reads its data as little-endian 16-bit halves; in UTF-16LE
// each half is one code unit, so the units are hashed as they stand and the
// byte order of the machine never matters. A byte length is always even,
// which leaves only the two-byte tail case.
uint32_t PathHash(const char16_t* path, uint32_t length) noexcept {
  if (path == nullptr || length == 0) return 0;
  const uint32_t bytes = length * 2;
  uint32_t hash = bytes;
  const char16_t* unit = path;
  for (uint32_t groups = bytes >> 2; groups > 0; --groups) {
    hash += unit[0];
    const uint32_t mixed = (static_cast<uint32_t>(unit[1]) << 11) ^ hash;
    hash = (hash << 16) ^ mixed;
    unit += 2;
    hash += hash >> 11;
  }
  if ((bytes & 3) == 2) {
    hash += unit[0];
    hash ^= hash << 11;
    hash += hash >> 17;
  }
  hash ^= hash << 3;
  hash += hash >> 5;
  hash ^= hash << 4;
  hash += hash >> 17;
  hash ^= hash << 25;
  hash += hash >> 6;
  return hash;
}

uint32_t PathHash(const char16_t* path) noexcept {
  return PathHash(path, TextLength(path));
}

}  // namespace vorn
