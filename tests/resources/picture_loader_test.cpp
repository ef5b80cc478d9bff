#include "resources/picture_loader.h"

#include <gtest/gtest.h>

#include <memory>

#include "package/memory_stream.h"
#include "resources/picture_decoders.h"
#include "resources/support/picture_files.h"

namespace vorn {
namespace {

using test::Bytes;
using test::EncodeJpeg;
using test::EncodePng;
using test::PngImage;

struct Loaded {
  Result result;
  std::unique_ptr<Picture> picture;
};

Loaded Load(const Bytes& bytes) {
  Picture* picture = reinterpret_cast<Picture*>(1);
  const Result result = LoadPictureFromMemory(bytes.data(), bytes.size(), picture);
  return {result, std::unique_ptr<Picture>(picture)};
}

PngImage Png(int color_type, int bit_depth, uint32_t width, uint32_t height, uint32_t seed = 1) {
  PngImage image;
  image.color_type = color_type;
  image.bit_depth = bit_depth;
  image.width = width;
  image.height = height;
  const int channels[] = {1, 0, 3, 1, 2, 0, 4};
  const size_t bits = size_t{static_cast<unsigned>(channels[color_type])} * bit_depth;
  image.rows = test::PatternBytes((bits * width + 7) / 8 * height, seed);
  if (color_type == 3) image.palette = test::PatternBytes(256 * 3, seed + 1);
  return image;
}

TEST(PictureLoaderTest, PngLayoutsOfTheTableKeepTheirBytes) {
  const struct {
    int color_type, bit_depth;
    uint32_t format;
  } cases[] = {{0, 8, kPictureFormatGray},
               {2, 8, kPictureFormatRgb},
               {3, 8, kPictureFormatPalette},
               {4, 8, kPictureFormatGrayAlpha},
               {6, 8, kPictureFormatRgba}};
  for (const auto& c : cases) {
    const PngImage image = Png(c.color_type, c.bit_depth, 5, 3);
    Loaded loaded = Load(EncodePng(image));
    ASSERT_EQ(loaded.result, kOk) << c.color_type;
    ASSERT_EQ(loaded.picture->Format(), c.format);
    EXPECT_EQ(loaded.picture->Width(), 5u);
    EXPECT_EQ(loaded.picture->Height(), 3u);
    ASSERT_EQ(size_t{loaded.picture->Stride()} * 3, image.rows.size());
    EXPECT_EQ(Bytes(loaded.picture->Pixels(), loaded.picture->Pixels() + image.rows.size()),
              image.rows);
  }
}

TEST(PictureLoaderTest, RgbPngThreePixelsWideHasAStrideOfNine) {
  Loaded loaded = Load(EncodePng(Png(2, 8, 3, 4)));
  ASSERT_EQ(loaded.result, kOk);
  EXPECT_EQ(loaded.picture->Stride(), 9u);
}

TEST(PictureLoaderTest, SixteenBitPngsReadTheirSignificantByte) {
  PngImage gray = Png(0, 16, 2, 1);
  gray.rows = {0xC3, 0x01, 0x12, 0xFE};  // big-endian samples 0xC301, 0x12FE
  Loaded loaded = Load(EncodePng(gray));
  ASSERT_EQ(loaded.result, kOk);
  ASSERT_EQ(loaded.picture->Format(), kPictureFormatGray16);
  EXPECT_EQ(loaded.picture->Stride(), 4u);
  EXPECT_EQ(loaded.picture->GetPixel(0, 0), MakeRgba(0xC3, 0xC3, 0xC3, 255));
  EXPECT_EQ(loaded.picture->GetPixel(1, 0), MakeRgba(0x12, 0x12, 0x12, 255));

  PngImage gray_alpha = Png(4, 16, 2, 2);
  gray_alpha.rows = {0x10, 0, 0x80, 0x7F, 0x20, 0, 0xFF, 0xFF,
                     0x30, 0, 0x00, 0x01, 0x40, 0, 0x40, 0x00};
  loaded = Load(EncodePng(gray_alpha));
  ASSERT_EQ(loaded.result, kOk);
  ASSERT_EQ(loaded.picture->Format(), kPictureFormatAlpha16);
  EXPECT_EQ(loaded.picture->Stride(), 4u);
  EXPECT_EQ(loaded.picture->GetPixel(0, 0), MakeRgba(255, 255, 255, 0x80));
  EXPECT_EQ(loaded.picture->GetPixel(1, 0), MakeRgba(255, 255, 255, 0xFF));
  EXPECT_EQ(loaded.picture->GetPixel(0, 1), MakeRgba(255, 255, 255, 0x00));
  EXPECT_EQ(loaded.picture->GetPixel(1, 1), MakeRgba(255, 255, 255, 0x40));
}

TEST(PictureLoaderTest, PngLayoutsOutsideTheTableGiveUnsupportedFormat) {
  const struct {
    int color_type, bit_depth;
  } cases[] = {{0, 1}, {0, 4}, {3, 1}, {3, 4}, {2, 16}, {6, 16}};
  for (const auto& c : cases) {
    PngImage image = Png(c.color_type, c.bit_depth, 9, 2);
    if (c.color_type == 3) image.palette.resize(3 * (1u << c.bit_depth));
    Loaded loaded = Load(EncodePng(image));
    EXPECT_EQ(loaded.result, kBadFormat) << c.color_type << "/" << c.bit_depth;
    EXPECT_EQ(loaded.picture, nullptr);
  }
}

TEST(PictureLoaderTest, PaletteWithTransparencyStaysOpaque) {
  PngImage image = Png(3, 8, 4, 1);
  image.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
  image.transparency = {0, 128};
  image.rows = {0, 1, 2, 1};
  Loaded loaded = Load(EncodePng(image));
  ASSERT_EQ(loaded.result, kOk);
  EXPECT_EQ(loaded.picture->GetPixel(0, 0), MakeRgba(10, 20, 30, 255));
  EXPECT_EQ(loaded.picture->GetPixel(1, 0), MakeRgba(40, 50, 60, 255));
  EXPECT_EQ(loaded.picture->GetPixel(2, 0), MakeRgba(70, 80, 90, 255));
}

TEST(PictureLoaderTest, InterlacedPngGivesTheSameRows) {
  PngImage image = Png(6, 8, 13, 11);
  image.interlaced = true;
  Loaded loaded = Load(EncodePng(image));
  ASSERT_EQ(loaded.result, kOk);
  EXPECT_EQ(Bytes(loaded.picture->Pixels(), loaded.picture->Pixels() + image.rows.size()),
            image.rows);
}

TEST(PictureLoaderTest, JpegsWithoutPngSignatureDecodeAsRgbAndGray) {
  Bytes rgb(16 * 8 * 3, 0);
  for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 200;  // flat red survives compression
  const Bytes jpeg = EncodeJpeg(2, 3, 16, 8, rgb);
  Picture* none = nullptr;
  EXPECT_EQ(DecodePng(jpeg.data(), jpeg.size(), none), kInvalidContent);
  Loaded loaded = Load(jpeg);
  ASSERT_EQ(loaded.result, kOk);
  ASSERT_EQ(loaded.picture->Format(), kPictureFormatRgb);
  EXPECT_EQ(loaded.picture->Width(), 16u);
  EXPECT_EQ(loaded.picture->Stride(), 48u);
  const uint32_t pixel = loaded.picture->GetPixel(7, 5);
  EXPECT_NEAR(RgbaRed(pixel), 200, 4);
  EXPECT_NEAR(RgbaGreen(pixel), 0, 4);

  loaded = Load(EncodeJpeg(1, 1, 9, 7, Bytes(63, 90)));
  ASSERT_EQ(loaded.result, kOk);
  ASSERT_EQ(loaded.picture->Format(), kPictureFormatGray);
  EXPECT_EQ(loaded.picture->Stride(), 9u);
  EXPECT_NEAR(RgbaRed(loaded.picture->GetPixel(8, 6)), 90, 2);
}

TEST(PictureLoaderTest, CmykJpegGivesUnsupportedFormat) {
  Loaded loaded = Load(EncodeJpeg(4, 4, 8, 8, Bytes(8 * 8 * 4, 100)));
  EXPECT_EQ(loaded.result, kBadFormat);
  EXPECT_EQ(loaded.picture, nullptr);
}

TEST(PictureLoaderTest, TruncatedFilesFailAsDamagedAndLeaveNothing) {
  const Bytes png = EncodePng(Png(6, 8, 64, 64));
  for (size_t keep : {size_t{9}, size_t{40}, png.size() / 2, png.size() - 13}) {
    Loaded loaded = Load(Bytes(png.begin(), png.begin() + keep));
    EXPECT_EQ(loaded.result, kFailed) << keep;
    EXPECT_EQ(loaded.picture, nullptr);
  }
  const Bytes jpeg = EncodeJpeg(2, 3, 64, 64, test::PatternBytes(64 * 64 * 3, 5), 90);
  Loaded loaded = Load(Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
  EXPECT_EQ(loaded.result, kFailed);
  EXPECT_EQ(loaded.picture, nullptr);
  // Cut inside the header: the JPEG decoder finds no complete header, and no
  // decoder takes the bytes.
  loaded = Load(Bytes(jpeg.begin(), jpeg.begin() + 30));
  EXPECT_EQ(loaded.result, kBadFormat);
}

TEST(PictureLoaderTest, DamagedPngDataFails) {
  Bytes png = EncodePng(Png(2, 8, 32, 32));
  png[png.size() / 2] ^= 0xFF;  // inside the image data: its CRC no longer matches
  Loaded loaded = Load(png);
  EXPECT_EQ(loaded.result, kFailed);
  EXPECT_EQ(loaded.picture, nullptr);
}

TEST(PictureLoaderTest, HugeDeclaredPngIsRefusedBeforeAllocating) {
  Loaded loaded = Load(test::PngHeaderOnly(100000, 100000, 6, 8));
  EXPECT_EQ(loaded.result, kInvalidSize);
  EXPECT_EQ(loaded.picture, nullptr);
  loaded = Load(test::PngHeaderOnly(100000, 100000, 0, 8));
  EXPECT_EQ(loaded.result, kInvalidSize);
}

TEST(PictureLoaderTest, BytesNoDecoderKnowsGiveUnsupportedFormat) {
  EXPECT_EQ(Load(Bytes{}).result, kBadFormat);
  EXPECT_EQ(Load(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}).result, kBadFormat);
  EXPECT_EQ(Load(test::PatternBytes(1000, 3)).result, kBadFormat);
  Picture* picture = nullptr;
  EXPECT_EQ(LoadPictureFromMemory(nullptr, 0, picture), kBadFormat);
}

TEST(PictureLoaderTest, LoadPictureReadsTheWholeStream) {
  const Bytes png = EncodePng(Png(6, 8, 7, 7));
  MemoryStream stream(png.data(), png.size());
  Picture* picture = nullptr;
  ASSERT_EQ(LoadPicture(&stream, picture), kOk);
  std::unique_ptr<Picture> owned(picture);
  EXPECT_EQ(picture->Width(), 7u);
  EXPECT_EQ(LoadPicture(nullptr, picture), kNullInput);
  EXPECT_EQ(picture, nullptr);
  MemoryStream closed;
  EXPECT_NE(LoadPicture(&closed, picture), kOk);
  EXPECT_EQ(picture, nullptr);
}

}  // namespace
}  // namespace vorn
