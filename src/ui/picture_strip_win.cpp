// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "resources/picture.h"
#include "resources/picture_bitmap.h"
#include "ui/picture_strip_win.h"

namespace vorn {

void* MakePictureStripImageList(const Picture* strip, uint32_t item_width) noexcept {
  if (strip == nullptr || item_width == 0) return nullptr;
  PictureBitmap bitmap;
  if (MakeBitmap(strip, false, bitmap) != kOk) return nullptr;
  HIMAGELIST list = ImageList_Create(static_cast<int>(item_width), static_cast<int>(strip->Height()),
                                     ILC_COLOR32, 8, 8);
  if (list != nullptr) ImageList_Add(list, static_cast<HBITMAP>(bitmap.handle), nullptr);
  DestroyBitmap(bitmap);
  return list;
}

}  // namespace vorn
