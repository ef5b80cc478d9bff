#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>

#include "resources/picture.h"
#include "resources/picture_bitmap.h"

namespace vorn {
namespace {

std::unique_ptr<Picture> Make(uint32_t format, uint32_t width, uint32_t height) {
  std::unique_ptr<Picture> picture(CreatePicture(format));
  EXPECT_EQ(picture->Allocate(width, height, nullptr, nullptr, true), kOk);
  return picture;
}

struct BitmapBits {
  const uint8_t* rows;
  int stride;
  int bits;
  int width;
  int height;
};

BitmapBits BitsOf(const PictureBitmap& bitmap) {
  DIBSECTION section;
  std::memset(&section, 0, sizeof(section));
  EXPECT_EQ(GetObjectW(static_cast<HBITMAP>(bitmap.handle), sizeof(section), &section),
            static_cast<int>(sizeof(section)));
  return {static_cast<const uint8_t*>(section.dsBm.bmBits), section.dsBm.bmWidthBytes,
          section.dsBm.bmBitsPixel, section.dsBm.bmWidth, section.dsBm.bmHeight};
}

// A 32-bit top-down drawing surface filled with one colour (0xAARRGGBB).
class Surface {
 public:
  Surface(int width, int height, uint32_t fill) : width_(width) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = fill;
  }
  ~Surface() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  uint32_t At(int x, int y) {
    GdiFlush();
    return bits_[y * width_ + x];
  }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  uint32_t* bits_ = nullptr;
};

TEST(PictureBitmapTest, RgbBecomesPaddedBgrRows) {
  auto rgb = Make(kPictureFormatRgb, 3, 2);
  for (uint32_t i = 0; i < 6; ++i)
    rgb->SetPixel(i, MakeRgba(10 * i + 1, 10 * i + 2, 10 * i + 3, 0));
  PictureBitmap bitmap;
  ASSERT_EQ(MakeBitmap(rgb.get(), true, bitmap), kOk);
  EXPECT_EQ(bitmap.format, kPictureFormatRgb);
  const BitmapBits bits = BitsOf(bitmap);
  EXPECT_EQ(bits.bits, 24);
  EXPECT_EQ(bits.stride, 12);  // 9 bytes of pixels, padded to 4
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = bits.rows + y * bits.stride + x * 3;
      const int i = y * 3 + x;
      EXPECT_EQ(p[0], 10 * i + 3);  // blue first
      EXPECT_EQ(p[1], 10 * i + 2);
      EXPECT_EQ(p[2], 10 * i + 1);
    }
  }
  DestroyBitmap(bitmap);
  EXPECT_EQ(bitmap.handle, nullptr);
}

TEST(PictureBitmapTest, AlphaFormatsBecomeBgraWithOptionalPremultiplication) {
  auto rgba = Make(kPictureFormatRgba, 1, 1);
  rgba->SetPixel(0u, MakeRgba(200, 100, 50, 128));
  PictureBitmap plain, premultiplied;
  ASSERT_EQ(MakeBitmap(rgba.get(), false, plain), kOk);
  ASSERT_EQ(MakeBitmap(rgba.get(), true, premultiplied), kOk);
  EXPECT_EQ(plain.format, kPictureFormatRgba);
  const uint8_t* p = BitsOf(plain).rows;
  EXPECT_EQ(p[0], 50);
  EXPECT_EQ(p[1], 100);
  EXPECT_EQ(p[2], 200);
  EXPECT_EQ(p[3], 128);
  const uint8_t* q = BitsOf(premultiplied).rows;
  EXPECT_EQ(q[0], 50 * 128 / 255);
  EXPECT_EQ(q[1], 100 * 128 / 255);
  EXPECT_EQ(q[2], 200 * 128 / 255);
  EXPECT_EQ(q[3], 128);
  DestroyBitmap(plain);
  DestroyBitmap(premultiplied);

  auto gray_alpha = Make(kPictureFormatGrayAlpha, 1, 1);
  gray_alpha->Pixels()[0] = 90;
  gray_alpha->Pixels()[1] = 255;
  PictureBitmap gray;
  ASSERT_EQ(MakeBitmap(gray_alpha.get(), true, gray), kOk);
  EXPECT_EQ(gray.format, kPictureFormatRgba);  // counts as RGBA from now on
  const BitmapBits bits = BitsOf(gray);
  EXPECT_EQ(bits.bits, 32);
  EXPECT_EQ(std::memcmp(bits.rows, "\x5A\x5A\x5A\xFF", 4), 0);
  DestroyBitmap(gray);
}

TEST(PictureBitmapTest, PaletteExpandsThroughItsEntries) {
  uint8_t palette[kPaletteBytes] = {};
  palette[4 * 3 + 0] = 1;
  palette[4 * 3 + 1] = 2;
  palette[4 * 3 + 2] = 3;
  palette[4 * 3 + 3] = 255;
  std::unique_ptr<Picture> picture(CreatePicture(kPictureFormatPalette));
  ASSERT_EQ(picture->Allocate(1, 1, nullptr, palette, true), kOk);
  picture->Pixels()[0] = 3;
  PictureBitmap bitmap;
  ASSERT_EQ(MakeBitmap(picture.get(), false, bitmap), kOk);
  const BitmapBits bits = BitsOf(bitmap);
  EXPECT_EQ(bits.bits, 24);
  EXPECT_EQ(bits.rows[0], 3);
  EXPECT_EQ(bits.rows[2], 1);
  DestroyBitmap(bitmap);
}

TEST(PictureBitmapTest, PicturesWithoutABitmapFormAreRefused) {
  PictureBitmap bitmap;
  for (uint32_t format :
       {kPictureFormatAlpha, kPictureFormatAlpha16, kPictureFormatGray, kPictureFormatGray16}) {
    auto picture = Make(format, 2, 2);
    EXPECT_EQ(MakeBitmap(picture.get(), true, bitmap), kBadFormat) << format;
    EXPECT_EQ(bitmap.handle, nullptr);
  }
  EXPECT_EQ(MakeBitmap(nullptr, true, bitmap), kInvalidState);
  auto empty = Make(kPictureFormatRgba, 0, 5);
  EXPECT_EQ(MakeBitmap(empty.get(), true, bitmap), kInvalidState);
  EXPECT_EQ(DrawBitmap(nullptr, bitmap), kInvalidHandle);
}

TEST(PictureBitmapTest, TransparentBitmapsBlendAndOpaqueOnesCopy) {
  auto rgba = Make(kPictureFormatRgba, 2, 1);
  rgba->SetPixel(0u, MakeRgba(255, 0, 0, 255));
  rgba->SetPixel(1u, MakeRgba(0, 0, 255, 0));  // fully transparent
  PictureBitmap blended;
  ASSERT_EQ(MakeBitmap(rgba.get(), true, blended), kOk);
  Surface surface(4, 1, 0xFF00FF00);  // opaque green
  ASSERT_EQ(DrawBitmap(surface.dc(), blended), kOk);
  EXPECT_EQ(surface.At(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(surface.At(1, 0) & 0xFFFFFF, 0x00FF00u);  // the background shows through
  EXPECT_EQ(surface.At(2, 0) & 0xFFFFFF, 0x00FF00u);  // outside the bitmap
  DestroyBitmap(blended);

  auto rgb = Make(kPictureFormatRgb, 2, 1);
  rgb->SetPixel(1u, MakeRgba(0, 0, 255, 0));
  PictureBitmap copied;
  ASSERT_EQ(MakeBitmap(rgb.get(), true, copied), kOk);
  ASSERT_EQ(DrawBitmap(surface.dc(), copied), kOk);
  EXPECT_EQ(surface.At(0, 0) & 0xFFFFFF, 0u);
  EXPECT_EQ(surface.At(1, 0) & 0xFFFFFF, 0x0000FFu);
  DestroyBitmap(copied);
}

TEST(PictureBitmapTest, TopRowIsDrawnAtTheTop) {
  auto picture = Make(kPictureFormatRgb, 1, 2);
  picture->SetPixel(0, 0, MakeRgba(255, 0, 0, 0));
  picture->SetPixel(0, 1, MakeRgba(0, 0, 255, 0));
  PictureBitmap bitmap;
  ASSERT_EQ(MakeBitmap(picture.get(), false, bitmap), kOk);
  Surface surface(1, 2, 0);
  ASSERT_EQ(DrawBitmap(surface.dc(), bitmap), kOk);
  EXPECT_EQ(surface.At(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(surface.At(0, 1) & 0xFFFFFF, 0x0000FFu);
  DestroyBitmap(bitmap);
}

TEST(PictureBitmapTest, OneImageOfAStripIsDrawn) {
  auto strip = Make(kPictureFormatRgb, 6, 2);  // three 2 x 2 images
  for (uint32_t y = 0; y < 2; ++y) {
    for (uint32_t x = 0; x < 6; ++x) strip->SetPixel(x, y, MakeRgba(0, 0, 40 * (x / 2 + 1), 0));
  }
  PictureBitmap bitmap;
  ASSERT_EQ(MakeBitmap(strip.get(), false, bitmap), kOk);
  Surface surface(4, 2, 0);
  ASSERT_EQ(DrawBitmapImage(surface.dc(), bitmap, 1), kOk);
  EXPECT_EQ(surface.At(0, 0) & 0xFFFFFF, 80u);
  EXPECT_EQ(surface.At(1, 1) & 0xFFFFFF, 80u);
  EXPECT_EQ(surface.At(2, 0) & 0xFFFFFF, 0u);  // only one square is drawn
  ASSERT_EQ(DrawBitmapImage(surface.dc(), bitmap, 2), kOk);
  EXPECT_EQ(surface.At(0, 0) & 0xFFFFFF, 120u);
  EXPECT_EQ(DrawBitmapImage(surface.dc(), bitmap, 3), kIndexOutOfRange);
  DestroyBitmap(bitmap);
}

}  // namespace
}  // namespace vorn
