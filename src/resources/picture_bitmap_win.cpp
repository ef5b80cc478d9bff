#include <windows.h>

#include <cstring>

#include "foundation/system_error.h"
#include "foundation/system_library.h"
#include "resources/picture_bitmap.h"

namespace vorn {
namespace {

// GDI does not always set a last error; a refusal must still be a failure.
Result GdiFailure() noexcept {
  const Result r = LastSystemResult();
  return r == kOk ? kFailed : r;
}

uint32_t BitmapBitsFor(uint32_t format) noexcept {
  switch (format) {
    case kPictureFormatPalette:
    case kPictureFormatRgb:
      return 24;
    case kPictureFormatGrayAlpha:
    case kPictureFormatRgba:
      return 32;
    default:
      return 0;
  }
}

uint8_t Premultiplied(uint32_t channel, uint32_t alpha) noexcept {
  return static_cast<uint8_t>(channel * alpha / 255);
}

// One bitmap row from one picture row, through the picture's own reads so
// that palette and gray pictures expand the same way as colour ones.
void FillRow(const Picture& picture, uint32_t y, uint32_t bits, bool premultiply,
             uint8_t* out) noexcept {
  const uint32_t width = picture.Width();
  for (uint32_t x = 0; x < width; ++x) {
    const uint32_t rgba = picture.GetPixel(x, y);
    uint32_t r = RgbaRed(rgba), g = RgbaGreen(rgba), b = RgbaBlue(rgba);
    if (bits == 24) {
      out[0] = static_cast<uint8_t>(b);
      out[1] = static_cast<uint8_t>(g);
      out[2] = static_cast<uint8_t>(r);
      out += 3;
      continue;
    }
    const uint32_t a = RgbaAlpha(rgba);
    if (premultiply) {
      out[0] = Premultiplied(b, a);
      out[1] = Premultiplied(g, a);
      out[2] = Premultiplied(r, a);
    } else {
      out[0] = static_cast<uint8_t>(b);
      out[1] = static_cast<uint8_t>(g);
      out[2] = static_cast<uint8_t>(r);
    }
    out[3] = static_cast<uint8_t>(a);
    out += 4;
  }
}

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);

// Looked up once; when the system lacks it, transparent bitmaps are copied.
AlphaBlendFunction AlphaBlendEntry() noexcept {
  static bool looked_up = false;
  static AlphaBlendFunction entry = nullptr;
  if (!looked_up) {
    looked_up = true;
    // Kept loaded for the life of the process; from the system folder only.
    void* module = LoadSystemLibrary(u"msimg32.dll");
    entry = reinterpret_cast<AlphaBlendFunction>(SystemLibraryFunction(module, "AlphaBlend"));
  }
  return entry;
}

bool BlendsAlpha(uint32_t format) noexcept {
  return format == kPictureFormatAlpha || format == kPictureFormatAlpha16 ||
         format == kPictureFormatGrayAlpha || format == kPictureFormatRgba;
}

Result DrawRegion(HDC target, const PictureBitmap& bitmap, int x, int width, int height) noexcept {
  HDC source = CreateCompatibleDC(target);
  if (!source) return GdiFailure();
  HGDIOBJ previous = SelectObject(source, static_cast<HBITMAP>(bitmap.handle));
  if (!previous || previous == HGDI_ERROR) {
    const Result r = GdiFailure();
    DeleteDC(source);
    return r;
  }
  BOOL drawn = FALSE;
  AlphaBlendFunction alpha_blend = BlendsAlpha(bitmap.format) ? AlphaBlendEntry() : nullptr;
  if (alpha_blend) {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    drawn = alpha_blend(target, 0, 0, width, height, source, x, 0, width, height, blend);
  } else {
    drawn = BitBlt(target, 0, 0, width, height, source, x, 0, SRCCOPY);
  }
  const Result r = drawn ? kOk : GdiFailure();
  SelectObject(source, previous);
  DeleteDC(source);
  return r;
}

}  // namespace

Result MakeBitmap(const Picture* picture, bool premultiply, PictureBitmap& bitmap) noexcept {
  bitmap = PictureBitmap{};
  if (!picture || picture->Width() == 0 || picture->Height() == 0) return kInvalidState;
  const uint32_t bits = BitmapBitsFor(picture->Format());
  if (bits == 0) return kBadFormat;
  const uint32_t width = picture->Width();
  const uint32_t height = picture->Height();
  if (width > INT32_MAX || height > INT32_MAX) return kInvalidSize;
  BITMAPINFO info;
  std::memset(&info, 0, sizeof(info));
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as pictures are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bits);
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!handle || !pixels) {
    const Result r = GdiFailure();
    if (handle) DeleteObject(handle);
    return r;
  }
  // DIB rows are padded to a multiple of 4 bytes.
  const size_t stride = (size_t{width} * (bits / 8) + 3) & ~size_t{3};
  auto* rows = static_cast<uint8_t*>(pixels);
  for (uint32_t y = 0; y < height; ++y) {
    FillRow(*picture, y, bits, premultiply, rows + stride * y);
  }
  GdiFlush();
  bitmap.handle = handle;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.format = bits == 32 ? kPictureFormatRgba : kPictureFormatRgb;
  return kOk;
}

void DestroyBitmap(PictureBitmap& bitmap) noexcept {
  if (bitmap.handle) DeleteObject(static_cast<HBITMAP>(bitmap.handle));
  bitmap = PictureBitmap{};
}

Result DrawBitmap(void* device_context, const PictureBitmap& bitmap) noexcept {
  if (!device_context || !bitmap.handle) return kInvalidHandle;
  return DrawRegion(static_cast<HDC>(device_context), bitmap, 0, static_cast<int>(bitmap.width),
                    static_cast<int>(bitmap.height));
}

Result DrawBitmapImage(void* device_context, const PictureBitmap& bitmap, uint32_t index) noexcept {
  if (!device_context || !bitmap.handle) return kInvalidHandle;
  const uint64_t x = uint64_t{index} * bitmap.height;
  if (x + bitmap.height > bitmap.width) return kIndexOutOfRange;
  return DrawRegion(static_cast<HDC>(device_context), bitmap, static_cast<int>(x),
                    static_cast<int>(bitmap.height), static_cast<int>(bitmap.height));
}

}  // namespace vorn
