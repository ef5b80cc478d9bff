#include "resources/picture_formats.h"

#include <cmath>
#include <cstring>

namespace vorn {

uint32_t PalettePicture::Read(const uint8_t* p) const noexcept {
  const uint8_t* entry = Palette() + size_t{p[0]} * 4;
  return MakeRgba(entry[0], entry[1], entry[2], entry[3]);
}

// A palette picture has no free slots to add colours to, so a write picks
// the entry closest to the value (the first of equals).
void PalettePicture::Write(uint8_t* p, uint32_t rgba) const noexcept {
  const uint8_t* palette = Palette();
  uint32_t best = 0;
  uint32_t best_distance = UINT32_MAX;
  const int channels[4] = {static_cast<int>(RgbaRed(rgba)), static_cast<int>(RgbaGreen(rgba)),
                           static_cast<int>(RgbaBlue(rgba)), static_cast<int>(RgbaAlpha(rgba))};
  for (uint32_t i = 0; i < 256 && best_distance != 0; ++i) {
    uint32_t distance = 0;
    for (int c = 0; c < 4; ++c) {
      const int d = palette[i * 4 + c] - channels[c];
      distance += static_cast<uint32_t>(d * d);
    }
    if (distance < best_distance) {
      best_distance = distance;
      best = i;
    }
  }
  p[0] = static_cast<uint8_t>(best);
}

uint32_t PerceptualGrayOf(uint32_t r, uint32_t g, uint32_t b) noexcept {
  const double luminance = (299.0 * r + 587.0 * g + 114.0 * b) / 255000.0;
  return static_cast<uint32_t>(std::sqrt(luminance) * 255.0);
}

namespace {

Picture* DuplicateOf(const Picture& source) noexcept {
  Picture* copy = source.CreateEmpty();
  if (!copy) return nullptr;
  if (copy->CopyFrom(&source) != kOk) {
    delete copy;
    return nullptr;
  }
  return copy;
}

// Applies `change` to the first three bytes of every pixel.
template <class Change>
void ForEachColor(Picture& picture, uint32_t bytes_per_pixel, Change change) noexcept {
  uint8_t* p = picture.Pixels();
  if (!p) return;
  const size_t count = picture.PixelCount();
  for (size_t i = 0; i < count; ++i, p += bytes_per_pixel) change(p);
}

void TintPixel(uint8_t* p, uint32_t tint) noexcept {
  p[0] = static_cast<uint8_t>(p[0] * RgbaRed(tint) / 255);
  p[1] = static_cast<uint8_t>(p[1] * RgbaGreen(tint) / 255);
  p[2] = static_cast<uint8_t>(p[2] * RgbaBlue(tint) / 255);
}

void SetGray(uint8_t* p, uint32_t gray) noexcept {
  p[0] = p[1] = p[2] = static_cast<uint8_t>(gray);
}

}  // namespace

Picture* RgbPicture::Duplicate() const noexcept {
  return DuplicateOf(*this);
}

void RgbPicture::Tint(uint32_t tint) noexcept {
  ForEachColor(*this, 3, [tint](uint8_t* p) { TintPixel(p, tint); });
}

void RgbPicture::PerceptualGray(uint32_t key_color) noexcept {
  const uint32_t key = key_color & 0xFFFFFF;
  ForEachColor(*this, 3, [key](uint8_t* p) {
    if (MakeRgba(p[0], p[1], p[2], 0) == key) return;
    SetGray(p, PerceptualGrayOf(p[0], p[1], p[2]));
  });
}

void RgbPicture::PlainGrayscale() noexcept {
  ForEachColor(*this, 3, [](uint8_t* p) { SetGray(p, PlainGray(MakeRgba(p[0], p[1], p[2], 0))); });
}

Picture* RgbaPicture::Duplicate() const noexcept {
  return DuplicateOf(*this);
}

void RgbaPicture::Tint(uint32_t tint) noexcept {
  ForEachColor(*this, 4, [tint](uint8_t* p) { TintPixel(p, tint); });
}

void RgbaPicture::PerceptualGray(uint32_t) noexcept {
  ForEachColor(*this, 4, [](uint8_t* p) { SetGray(p, PerceptualGrayOf(p[0], p[1], p[2])); });
}

void RgbaPicture::PlainGrayscale() noexcept {
  ForEachColor(*this, 4, [](uint8_t* p) { SetGray(p, PlainGray(MakeRgba(p[0], p[1], p[2], 0))); });
}

}  // namespace vorn
