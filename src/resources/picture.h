// Picture: a decoded raster image kept in the pixel layout it had in its
// file. Rows are packed (stride = (bits per pixel x width + 7) / 8, no
// padding), top row first. Pixel values are 32-bit rgba with red in the
// lowest byte. Each format is its own class (picture_formats.h); this base
// holds the storage and the whole-picture operations.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/result.h"

namespace vorn {

// Format codes; each is fixed by the picture's class.
constexpr uint32_t kPictureFormatPalette = 1;    // 8 bits: palette index
constexpr uint32_t kPictureFormatAlpha = 2;      // 8 bits: alpha
constexpr uint32_t kPictureFormatAlpha16 = 3;    // 16 bits: (gray, ignored), alpha
constexpr uint32_t kPictureFormatGrayAlpha = 4;  // 16 bits: gray, alpha
constexpr uint32_t kPictureFormatGray = 5;       // 8 bits: gray
constexpr uint32_t kPictureFormatGray16 = 6;  // 16 bits, low byte first: the second is significant
constexpr uint32_t kPictureFormatRgb = 7;     // 24 bits: red, green, blue
constexpr uint32_t kPictureFormatRgba = 8;    // 32 bits: red, green, blue, alpha

// 256 entries of red, green, blue, alpha.
constexpr uint32_t kPaletteBytes = 1024;

// The largest pixel buffer a picture accepts. The installer's pictures are
// icons and page images; a file that declares more is refused before any
// memory is committed, so a few hostile header bytes cannot exhaust memory.
constexpr uint64_t kMaxPictureBytes = 256ull * 1024 * 1024;

// Stride and total size of a picture of that geometry; 40 when the buffer
// would exceed kMaxPictureBytes.
Result PictureGeometry(uint32_t bits_per_pixel, uint32_t width, uint32_t height, uint32_t& stride,
                       size_t& bytes) noexcept;

// Packs and unpacks rgba values.
constexpr uint32_t MakeRgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a) noexcept {
  return r | (g << 8) | (b << 16) | (a << 24);
}
constexpr uint32_t RgbaRed(uint32_t rgba) noexcept {
  return rgba & 0xFF;
}
constexpr uint32_t RgbaGreen(uint32_t rgba) noexcept {
  return (rgba >> 8) & 0xFF;
}
constexpr uint32_t RgbaBlue(uint32_t rgba) noexcept {
  return (rgba >> 16) & 0xFF;
}
constexpr uint32_t RgbaAlpha(uint32_t rgba) noexcept {
  return rgba >> 24;
}
// The gray that writes into the gray formats store.
constexpr uint32_t PlainGray(uint32_t rgba) noexcept {
  return (54 * RgbaRed(rgba) + 183 * RgbaGreen(rgba) + 19 * RgbaBlue(rgba)) / 256;
}

class Picture {
 public:
  virtual ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // A new picture of this format with a copy of the pixels; only the colour
  // formats provide one, the others give null (as does running out of memory).
  virtual Picture* Duplicate() const noexcept { return nullptr; }
  // An empty picture of the same format; null when out of memory.
  virtual Picture* CreateEmpty() const noexcept = 0;
  virtual uint32_t BitsPerPixel() const noexcept = 0;
  // Reads outside the picture give 0 and writes there are ignored: pictures
  // come from files, and a wrong coordinate must not reach other memory.
  virtual uint32_t GetPixel(uint32_t x, uint32_t y) const noexcept = 0;
  virtual uint32_t GetPixel(uint32_t index) const noexcept = 0;
  virtual void SetPixel(uint32_t x, uint32_t y, uint32_t rgba) noexcept = 0;
  virtual void SetPixel(uint32_t index, uint32_t rgba) noexcept = 0;

  // Frees what the picture held, then takes `pixels` (stride x height bytes)
  // with the given ownership, or allocates a zero-filled buffer of its own.
  // A palette picture copies kPaletteBytes from `palette` when one is given.
  // 12 out of memory, 40 too large; the picture is empty after a failure.
  Result Allocate(uint32_t width, uint32_t height, uint8_t* pixels, const uint8_t* palette,
                  bool owns_pixels) noexcept;
  // Becomes a copy of `source` in this picture's format (byte copy for the
  // same format, pixel by pixel otherwise). 32 without a source.
  Result CopyFrom(const Picture* source) noexcept;
  // The region [x, x + width) x [0, height) as a new picture of the same
  // format: how single images come out of a strip. Null when x is negative,
  // the region leaves the picture, or memory runs out.
  Picture* Cut(int32_t x, uint32_t width, uint32_t height) const noexcept;

  uint32_t Format() const noexcept { return format_; }
  uint32_t Width() const noexcept { return width_; }
  uint32_t Height() const noexcept { return height_; }
  uint32_t Stride() const noexcept { return stride_; }
  uint32_t PixelCount() const noexcept { return width_ * height_; }
  const uint8_t* Pixels() const noexcept { return pixels_; }
  uint8_t* Pixels() noexcept { return pixels_; }
  const uint8_t* Palette() const noexcept { return palette_; }
  uint8_t* Palette() noexcept { return palette_; }
  bool OwnsPixels() const noexcept { return owns_pixels_; }
  // Formats whose pixels may be transparent.
  bool HasAlpha() const noexcept;

 protected:
  explicit Picture(uint32_t format) noexcept : format_(format) {}
  void Free() noexcept;
  // The first byte of pixel (x, y), or null outside the picture.
  const uint8_t* PixelAt(uint32_t x, uint32_t y, uint32_t bytes_per_pixel) const noexcept;
  uint8_t* PixelAt(uint32_t x, uint32_t y, uint32_t bytes_per_pixel) noexcept;
  const uint8_t* PixelAt(uint32_t index, uint32_t bytes_per_pixel) const noexcept;
  uint8_t* PixelAt(uint32_t index, uint32_t bytes_per_pixel) noexcept;

 private:
  uint8_t* palette_ = nullptr;
  uint8_t* pixels_ = nullptr;
  uint32_t stride_ = 0;
  uint32_t format_;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  bool owns_pixels_ = false;
};

// A new empty picture of a format code (1 to 8); null for another code or
// when out of memory.
Picture* CreatePicture(uint32_t format) noexcept;

}  // namespace vorn
