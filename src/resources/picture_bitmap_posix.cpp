// No platform bitmaps outside Windows: the portable build decodes and
// converts pictures but never draws them.
#include "resources/picture_bitmap.h"

namespace vorn {

Result MakeBitmap(const Picture*, bool, PictureBitmap& bitmap) noexcept {
  bitmap = PictureBitmap{};
  return kNotSupported;
}

void DestroyBitmap(PictureBitmap& bitmap) noexcept {
  bitmap = PictureBitmap{};
}

Result DrawBitmap(void*, const PictureBitmap&) noexcept {
  return kNotSupported;
}

Result DrawBitmapImage(void*, const PictureBitmap&, uint32_t) noexcept {
  return kNotSupported;
}

}  // namespace vorn
