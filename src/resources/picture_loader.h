// The picture loader: PNG or JPEG bytes to a Picture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/result.h"
#include "resources/picture.h"

namespace vorn {

class Stream;

// Reads the rest of the stream and decodes it. 15 without a stream; the
// stream's read code when reading fails; otherwise as LoadPictureFromMemory.
Result LoadPicture(Stream* stream, Picture*& picture) noexcept;

// Offers the bytes to the PNG decoder, then to the JPEG decoder. 3 when
// neither recognises them. When one recognises its format but cannot decode
// the file, its code is returned (7 for a truncated or damaged file, 3 for
// a layout no picture format holds, 40 too large, 12 out of memory), so a
// broken picture is not reported as merely unsupported. On failure
// `picture` is null.
Result LoadPictureFromMemory(const uint8_t* bytes, size_t size, Picture*& picture) noexcept;

}  // namespace vorn
