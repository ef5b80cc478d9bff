// The two decoders the picture loader offers bytes to. Each gives 33 when
// the bytes do not start like its format, 7 when its library reports an
// error (a truncated or damaged file), 3 for a layout no picture format
// holds, 40 for a picture too large to hold, 12 out of memory. On failure
// `picture` is null and nothing is left allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/result.h"
#include "resources/picture.h"

namespace vorn {

Result DecodePng(const uint8_t* bytes, size_t size, Picture*& picture) noexcept;
Result DecodeJpeg(const uint8_t* bytes, size_t size, Picture*& picture) noexcept;

}  // namespace vorn
