// The 32-bit hash by which an archive knows its entries: SuperFastHash over
// the path's UTF-16LE bytes, seeded with their count. Paths are hashed as
// spelled: case matters, "/" separates, no leading slash.
#pragma once

#include <cstdint>

namespace vorn {

uint32_t PathHash(const char16_t* path, uint32_t length) noexcept;
uint32_t PathHash(const char16_t* path) noexcept;

}  // namespace vorn
