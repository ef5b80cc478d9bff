#include "resources/picture.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "resources/picture_formats.h"

namespace vorn {

Result PictureGeometry(uint32_t bits_per_pixel, uint32_t width, uint32_t height, uint32_t& stride,
                       size_t& bytes) noexcept {
  stride = 0;
  bytes = 0;
  const uint64_t row = (uint64_t{bits_per_pixel} * width + 7) / 8;
  if (row > kMaxPictureBytes) return kInvalidSize;
  const uint64_t total = row * height;
  if (total > kMaxPictureBytes) return kInvalidSize;
  stride = static_cast<uint32_t>(row);
  bytes = static_cast<size_t>(total);
  return kOk;
}

Picture::~Picture() {
  Free();
}

void Picture::Free() noexcept {
  if (owns_pixels_) std::free(pixels_);
  std::free(palette_);
  pixels_ = nullptr;
  palette_ = nullptr;
  owns_pixels_ = false;
  stride_ = width_ = height_ = 0;
}

bool Picture::HasAlpha() const noexcept {
  return format_ == kPictureFormatAlpha || format_ == kPictureFormatAlpha16 ||
         format_ == kPictureFormatGrayAlpha || format_ == kPictureFormatRgba;
}

Result Picture::Allocate(uint32_t width, uint32_t height, uint8_t* pixels, const uint8_t* palette,
                         bool owns_pixels) noexcept {
  Free();
  uint32_t stride = 0;
  size_t bytes = 0;
  if (Result r = PictureGeometry(BitsPerPixel(), width, height, stride, bytes); r != kOk) {
    if (pixels && owns_pixels) std::free(pixels);
    return r;
  }
  uint8_t* own_palette = nullptr;
  if (format_ == kPictureFormatPalette) {
    // Entries a file does not define read as transparent black.
    own_palette = static_cast<uint8_t*>(std::calloc(1, kPaletteBytes));
    if (!own_palette) {
      if (pixels && owns_pixels) std::free(pixels);
      return kOutOfMemory;
    }
    if (palette) std::memcpy(own_palette, palette, kPaletteBytes);
  }
  if (!pixels) {
    // calloc(0) may give null or a unique pointer; an empty picture needs neither.
    if (bytes != 0) {
      pixels = static_cast<uint8_t*>(std::calloc(1, bytes));
      if (!pixels) {
        std::free(own_palette);
        return kOutOfMemory;
      }
    }
    owns_pixels = true;
  }
  palette_ = own_palette;
  pixels_ = pixels;
  owns_pixels_ = owns_pixels;
  stride_ = stride;
  width_ = width;
  height_ = height;
  return kOk;
}

Result Picture::CopyFrom(const Picture* source) noexcept {
  if (!source) return kInvalidState;
  if (source == this) return kOk;
  const uint8_t* palette = format_ == kPictureFormatPalette ? source->Palette() : nullptr;
  if (Result r = Allocate(source->Width(), source->Height(), nullptr, palette, true); r != kOk) {
    return r;
  }
  if (source->Format() == format_) {
    if (pixels_ && source->Pixels()) {
      std::memcpy(pixels_, source->Pixels(), size_t{stride_} * height_);
    }
    return kOk;
  }
  const uint32_t count = PixelCount();
  for (uint32_t i = 0; i < count; ++i) SetPixel(i, source->GetPixel(i));
  return kOk;
}

Picture* Picture::Cut(int32_t x, uint32_t width, uint32_t height) const noexcept {
  if (x < 0) return nullptr;
  if (uint64_t{static_cast<uint32_t>(x)} + width > width_ || height > height_) return nullptr;
  Picture* cut = CreateEmpty();
  if (!cut) return nullptr;
  if (cut->Allocate(width, height, nullptr, palette_, true) != kOk) {
    delete cut;
    return nullptr;
  }
  const uint32_t bits = BitsPerPixel();
  const size_t row_bytes = (size_t{width} * bits + 7) / 8;
  const size_t first_byte = (size_t{static_cast<uint32_t>(x)} * bits + 7) / 8;
  if (row_bytes != 0) {
    for (uint32_t y = 0; y < height; ++y) {
      std::memcpy(cut->pixels_ + size_t{y} * cut->stride_,
                  pixels_ + size_t{y} * stride_ + first_byte, row_bytes);
    }
  }
  return cut;
}

const uint8_t* Picture::PixelAt(uint32_t x, uint32_t y, uint32_t bytes_per_pixel) const noexcept {
  if (x >= width_ || y >= height_ || !pixels_) return nullptr;
  return pixels_ + size_t{y} * stride_ + size_t{x} * bytes_per_pixel;
}

uint8_t* Picture::PixelAt(uint32_t x, uint32_t y, uint32_t bytes_per_pixel) noexcept {
  return const_cast<uint8_t*>(static_cast<const Picture*>(this)->PixelAt(x, y, bytes_per_pixel));
}

const uint8_t* Picture::PixelAt(uint32_t index, uint32_t bytes_per_pixel) const noexcept {
  // Rows are packed, so the index runs straight over the buffer.
  if (index >= uint64_t{width_} * height_ || !pixels_) return nullptr;
  return pixels_ + size_t{index} * bytes_per_pixel;
}

uint8_t* Picture::PixelAt(uint32_t index, uint32_t bytes_per_pixel) noexcept {
  return const_cast<uint8_t*>(static_cast<const Picture*>(this)->PixelAt(index, bytes_per_pixel));
}

Picture* CreatePicture(uint32_t format) noexcept {
  switch (format) {
    case kPictureFormatPalette:
      return new (std::nothrow) PalettePicture;
    case kPictureFormatAlpha:
      return new (std::nothrow) AlphaPicture;
    case kPictureFormatAlpha16:
      return new (std::nothrow) Alpha16Picture;
    case kPictureFormatGrayAlpha:
      return new (std::nothrow) GrayAlphaPicture;
    case kPictureFormatGray:
      return new (std::nothrow) GrayPicture;
    case kPictureFormatGray16:
      return new (std::nothrow) Gray16Picture;
    case kPictureFormatRgb:
      return new (std::nothrow) RgbPicture;
    case kPictureFormatRgba:
      return new (std::nothrow) RgbaPicture;
    default:
      return nullptr;
  }
}

}  // namespace vorn
