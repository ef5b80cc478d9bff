// Pictures made drawable: a platform bitmap (on Windows a top-down DIB
// section without colour table, rows padded to 4 bytes) and drawing it, or
// one square image of a strip, at the top-left corner of a device context.
// Elsewhere there is no drawing surface and every operation gives 2.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "resources/picture.h"

namespace vorn {

struct PictureBitmap {
  void* handle = nullptr;  // HBITMAP
  uint32_t width = 0;
  uint32_t height = 0;
  // 7 for a 24-bit bitmap (blue, green, red), 8 for a 32-bit one (blue,
  // green, red, alpha), whatever format the picture had.
  uint32_t format = 0;
};

// 32 without a picture or for an empty one; 3 for a format that has no
// bitmap form (only palette, gray-with-alpha, RGB and RGBA pictures do);
// the mapped system error when the bitmap cannot be created. With
// `premultiply` the colours of a 32-bit bitmap are multiplied by their
// alpha, as alpha blending expects. `bitmap` is empty on failure.
Result MakeBitmap(const Picture* picture, bool premultiply, PictureBitmap& bitmap) noexcept;
// Frees the bitmap and empties the description.
void DestroyBitmap(PictureBitmap& bitmap) noexcept;
// Alpha-blends a 32-bit bitmap (copies a 24-bit one) at (0, 0) of the
// device context (HDC). 35 for a missing bitmap or device context.
Result DrawBitmap(void* device_context, const PictureBitmap& bitmap) noexcept;
// Draws only the square image `index` of a strip: height x height pixels
// from x = index x height. 37 when that square is not inside the bitmap.
Result DrawBitmapImage(void* device_context, const PictureBitmap& bitmap, uint32_t index) noexcept;

}  // namespace vorn
