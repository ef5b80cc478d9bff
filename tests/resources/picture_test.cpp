#include "resources/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "resources/picture_formats.h"

namespace vorn {
namespace {

std::unique_ptr<Picture> Make(uint32_t format, uint32_t width, uint32_t height) {
  std::unique_ptr<Picture> picture(CreatePicture(format));
  EXPECT_NE(picture, nullptr);
  EXPECT_EQ(picture->Allocate(width, height, nullptr, nullptr, true), kOk);
  return picture;
}

TEST(PictureTest, StrideIsPackedBitsPerRowWithoutPadding) {
  const struct {
    uint32_t format, width, stride;
  } cases[] = {{kPictureFormatRgb, 3, 9},       {kPictureFormatRgba, 3, 12},
               {kPictureFormatGray, 5, 5},      {kPictureFormatGrayAlpha, 5, 10},
               {kPictureFormatGray16, 7, 14},   {kPictureFormatAlpha16, 1, 2},
               {kPictureFormatPalette, 13, 13}, {kPictureFormatAlpha, 2, 2}};
  for (const auto& c : cases) {
    auto picture = Make(c.format, c.width, 4);
    EXPECT_EQ(picture->Stride(), c.stride) << "format " << c.format;
    EXPECT_EQ(picture->Format(), c.format);
    EXPECT_TRUE(picture->OwnsPixels());
    for (uint32_t i = 0; i < c.stride * 4; ++i) ASSERT_EQ(picture->Pixels()[i], 0);
  }
}

TEST(PictureTest, EachFormatReadsItsBytesAsRgba) {
  struct Case {
    uint32_t format;
    uint8_t bytes[4];
    uint32_t rgba;
  } const cases[] = {
      {kPictureFormatAlpha, {0x40}, MakeRgba(255, 255, 255, 0x40)},
      {kPictureFormatAlpha16, {0x11, 0x80}, MakeRgba(255, 255, 255, 0x80)},
      {kPictureFormatGrayAlpha, {0x33, 0x99}, MakeRgba(0x33, 0x33, 0x33, 0x99)},
      {kPictureFormatGray, {0x7F}, MakeRgba(0x7F, 0x7F, 0x7F, 255)},
      {kPictureFormatGray16, {0x01, 0xC0}, MakeRgba(0xC0, 0xC0, 0xC0, 255)},
      {kPictureFormatRgb, {1, 2, 3}, MakeRgba(1, 2, 3, 255)},
      {kPictureFormatRgba, {1, 2, 3, 4}, MakeRgba(1, 2, 3, 4)},
  };
  for (const Case& c : cases) {
    auto picture = Make(c.format, 2, 2);
    const uint32_t bytes = picture->BitsPerPixel() / 8;
    // Pixel (1, 1) is the last one: row 1 starts one stride in.
    std::memcpy(picture->Pixels() + picture->Stride() + bytes, c.bytes, bytes);
    EXPECT_EQ(picture->GetPixel(1, 1), c.rgba) << "format " << c.format;
    EXPECT_EQ(picture->GetPixel(3), c.rgba) << "format " << c.format;
  }
}

TEST(PictureTest, PaletteReadsTheEntryAndWritesTheNearestOne) {
  uint8_t palette[kPaletteBytes] = {};
  const uint8_t red[4] = {255, 0, 0, 255};
  const uint8_t blue[4] = {0, 0, 255, 128};
  std::memcpy(palette + 4 * 7, red, 4);
  std::memcpy(palette + 4 * 200, blue, 4);
  std::unique_ptr<Picture> picture(CreatePicture(kPictureFormatPalette));
  ASSERT_EQ(picture->Allocate(2, 1, nullptr, palette, true), kOk);
  picture->Pixels()[1] = 200;
  EXPECT_EQ(picture->GetPixel(1, 0), MakeRgba(0, 0, 255, 128));
  EXPECT_EQ(picture->GetPixel(0, 0), 0u);  // entry 0: undefined, transparent black
  picture->SetPixel(0, 0, MakeRgba(250, 10, 5, 255));
  EXPECT_EQ(picture->Pixels()[0], 7);
}

TEST(PictureTest, WritesStoreTheTableGray) {
  const uint32_t color = MakeRgba(200, 100, 50, 77);
  const uint32_t gray = (54 * 200 + 183 * 100 + 19 * 50) / 256;
  auto gray_alpha = Make(kPictureFormatGrayAlpha, 1, 1);
  gray_alpha->SetPixel(0, 0, color);
  EXPECT_EQ(gray_alpha->Pixels()[0], gray);
  EXPECT_EQ(gray_alpha->Pixels()[1], 77);
  auto plain = Make(kPictureFormatGray, 1, 1);
  plain->SetPixel(0u, color);
  EXPECT_EQ(plain->Pixels()[0], gray);
  auto alpha = Make(kPictureFormatAlpha, 1, 1);
  alpha->SetPixel(0, 0, color);
  EXPECT_EQ(alpha->Pixels()[0], 77);
  auto rgb = Make(kPictureFormatRgb, 1, 1);
  rgb->SetPixel(0, 0, color);
  EXPECT_EQ(rgb->GetPixel(0, 0), MakeRgba(200, 100, 50, 255));
  auto gray16 = Make(kPictureFormatGray16, 1, 1);
  gray16->SetPixel(0, 0, color);
  EXPECT_EQ(gray16->GetPixel(0, 0), MakeRgba(gray, gray, gray, 255));
}

TEST(PictureTest, AccessOutsideThePictureTouchesNothing) {
  auto picture = Make(kPictureFormatRgba, 2, 2);
  std::memset(picture->Pixels(), 0xAB, 16);
  EXPECT_EQ(picture->GetPixel(2, 0), 0u);
  EXPECT_EQ(picture->GetPixel(0, 2), 0u);
  EXPECT_EQ(picture->GetPixel(4u), 0u);
  picture->SetPixel(2, 0, 0);
  picture->SetPixel(4u, 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(picture->Pixels()[i], 0xAB);
}

TEST(PictureTest, AllocateTakesBorrowedOrOwnedBuffersAndRefusesHugeOnes) {
  uint8_t borrowed[12] = {9, 8, 7};
  std::unique_ptr<Picture> picture(CreatePicture(kPictureFormatRgb));
  ASSERT_EQ(picture->Allocate(2, 2, borrowed, nullptr, false), kOk);
  EXPECT_EQ(picture->Pixels(), borrowed);
  EXPECT_FALSE(picture->OwnsPixels());
  EXPECT_EQ(picture->GetPixel(0, 0), MakeRgba(9, 8, 7, 255));
  // A second Allocate lets go of the borrowed buffer without freeing it.
  auto* owned = static_cast<uint8_t*>(std::malloc(3));
  ASSERT_EQ(picture->Allocate(1, 1, owned, nullptr, true), kOk);
  EXPECT_TRUE(picture->OwnsPixels());
  EXPECT_EQ(picture->Allocate(100000, 100000, nullptr, nullptr, true), kInvalidSize);
  EXPECT_EQ(picture->Pixels(), nullptr);
  EXPECT_EQ(picture->Width(), 0u);
  EXPECT_EQ(picture->Allocate(0xFFFFFFFFu, 1, nullptr, nullptr, true), kInvalidSize);
}

TEST(PictureTest, CopyFromConvertsThroughThePixelOperations) {
  auto rgba = Make(kPictureFormatRgba, 3, 2);
  for (uint32_t i = 0; i < 6; ++i) {
    rgba->SetPixel(i, MakeRgba(40 * i, 255 - 30 * i, 17 * i, 10 * i));
  }
  auto gray = Make(kPictureFormatGray, 1, 1);
  ASSERT_EQ(gray->CopyFrom(rgba.get()), kOk);
  ASSERT_EQ(gray->Width(), 3u);
  ASSERT_EQ(gray->Height(), 2u);
  for (uint32_t i = 0; i < 6; ++i) {
    const uint32_t expected = (54 * (40 * i) + 183 * (255 - 30 * i) + 19 * (17 * i)) / 256;
    EXPECT_EQ(gray->Pixels()[i], expected) << i;
  }
  auto same = Make(kPictureFormatRgba, 1, 1);
  ASSERT_EQ(same->CopyFrom(rgba.get()), kOk);
  EXPECT_EQ(std::memcmp(same->Pixels(), rgba->Pixels(), 24), 0);
  EXPECT_NE(same->Pixels(), rgba->Pixels());
  EXPECT_EQ(same->CopyFrom(nullptr), kInvalidState);
  EXPECT_EQ(rgba->CopyFrom(rgba.get()), kOk);
  EXPECT_EQ(rgba->GetPixel(5u), MakeRgba(200, 105, 85, 50));
}

TEST(PictureTest, CutTakesOneImageOutOfAStrip) {
  auto strip = Make(kPictureFormatRgba, 96, 16);
  for (uint32_t y = 0; y < 16; ++y) {
    for (uint32_t x = 0; x < 96; ++x) strip->SetPixel(x, y, MakeRgba(x / 16, y, 0, 255));
  }
  std::unique_ptr<Picture> third(strip->Cut(32, 16, 16));
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->Format(), kPictureFormatRgba);
  EXPECT_EQ(third->Width(), 16u);
  for (uint32_t y = 0; y < 16; ++y) {
    for (uint32_t x = 0; x < 16; ++x) ASSERT_EQ(third->GetPixel(x, y), MakeRgba(2, y, 0, 255));
  }
  EXPECT_EQ(strip->Cut(-1, 16, 16), nullptr);
  EXPECT_EQ(strip->Cut(90, 16, 16), nullptr);  // runs past the right edge
  EXPECT_EQ(strip->Cut(0, 16, 17), nullptr);   // below the last row
  std::unique_ptr<Picture> last(strip->Cut(80, 16, 8));
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->GetPixel(15, 7), MakeRgba(5, 7, 0, 255));
}

TEST(PictureTest, DuplicateOnlyForTheColourFormats) {
  for (uint32_t format = 1; format <= 8; ++format) {
    auto picture = Make(format, 2, 2);
    std::unique_ptr<Picture> copy(picture->Duplicate());
    if (format == kPictureFormatRgb || format == kPictureFormatRgba) {
      ASSERT_NE(copy, nullptr);
      EXPECT_EQ(copy->Format(), format);
      EXPECT_EQ(copy->Width(), 2u);
    } else {
      EXPECT_EQ(copy, nullptr) << format;
    }
    std::unique_ptr<Picture> empty(picture->CreateEmpty());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Format(), format);
    EXPECT_EQ(empty->Width(), 0u);
  }
  EXPECT_EQ(CreatePicture(0), nullptr);
  EXPECT_EQ(CreatePicture(9), nullptr);
}

TEST(PictureTest, GrayscaleOperations) {
  auto rgb = Make(kPictureFormatRgb, 3, 1);
  rgb->SetPixel(0u, MakeRgba(200, 100, 50, 0));
  rgb->SetPixel(1u, MakeRgba(0x10, 0x20, 0x30, 0));  // the key colour
  rgb->SetPixel(2u, MakeRgba(255, 255, 255, 0));
  auto* color = static_cast<ColorPicture*>(rgb.get());
  color->PerceptualGray(0x302010);
  const uint32_t g =
      static_cast<uint32_t>(std::sqrt((299.0 * 200 + 587.0 * 100 + 114.0 * 50) / 255000.0) * 255.0);
  EXPECT_EQ(rgb->GetPixel(0u), MakeRgba(g, g, g, 255));
  EXPECT_EQ(rgb->GetPixel(1u), MakeRgba(0x10, 0x20, 0x30, 255));
  EXPECT_EQ(rgb->GetPixel(2u), MakeRgba(255, 255, 255, 255));

  auto rgba = Make(kPictureFormatRgba, 2, 1);
  rgba->SetPixel(0u, MakeRgba(200, 100, 50, 9));
  rgba->SetPixel(1u, MakeRgba(0x10, 0x20, 0x30, 200));
  static_cast<ColorPicture*>(rgba.get())->PlainGrayscale();
  const uint32_t p = PlainGray(MakeRgba(200, 100, 50, 0));
  EXPECT_EQ(rgba->GetPixel(0u), MakeRgba(p, p, p, 9));
  const uint32_t q = PlainGray(MakeRgba(0x10, 0x20, 0x30, 0));
  EXPECT_EQ(rgba->GetPixel(1u), MakeRgba(q, q, q, 200));
  static_cast<ColorPicture*>(rgba.get())->Tint(MakeRgba(255, 0, 128, 0));
  EXPECT_EQ(rgba->GetPixel(0u), MakeRgba(p, 0, p * 128 / 255, 9));
}

}  // namespace
}  // namespace vorn
