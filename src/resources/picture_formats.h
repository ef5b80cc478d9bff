// The eight picture formats. Each knows how its bytes read as rgba and how
// an rgba value is stored; the addressing is shared by PictureOf.
#pragma once

#include <cstdint>

#include "resources/picture.h"

namespace vorn {

// Addressing shared by every format: Self::Read(bytes) and
// Self::Write(bytes, rgba) work on the kBytes bytes of one pixel.
template <class Self, class Base, uint32_t kFormat, uint32_t kBytes>
class PictureOf : public Base {
 public:
  PictureOf() noexcept : Base(kFormat) {}
  Picture* CreateEmpty() const noexcept override { return CreatePicture(kFormat); }
  uint32_t BitsPerPixel() const noexcept override { return kBytes * 8; }
  uint32_t GetPixel(uint32_t x, uint32_t y) const noexcept override {
    const uint8_t* p = this->PixelAt(x, y, kBytes);
    return p ? static_cast<const Self*>(this)->Read(p) : 0;
  }
  uint32_t GetPixel(uint32_t index) const noexcept override {
    const uint8_t* p = this->PixelAt(index, kBytes);
    return p ? static_cast<const Self*>(this)->Read(p) : 0;
  }
  void SetPixel(uint32_t x, uint32_t y, uint32_t rgba) noexcept override {
    if (uint8_t* p = this->PixelAt(x, y, kBytes)) static_cast<Self*>(this)->Write(p, rgba);
  }
  void SetPixel(uint32_t index, uint32_t rgba) noexcept override {
    if (uint8_t* p = this->PixelAt(index, kBytes)) static_cast<Self*>(this)->Write(p, rgba);
  }
};

// 1: an index into 256 rgba entries. A write stores the nearest entry.
class PalettePicture : public PictureOf<PalettePicture, Picture, kPictureFormatPalette, 1> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept;
  void Write(uint8_t* p, uint32_t rgba) const noexcept;
};

// 2: alpha only; colour reads as white.
class AlphaPicture : public PictureOf<AlphaPicture, Picture, kPictureFormatAlpha, 1> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept { return MakeRgba(255, 255, 255, p[0]); }
  void Write(uint8_t* p, uint32_t rgba) const noexcept {
    p[0] = static_cast<uint8_t>(RgbaAlpha(rgba));
  }
};

// 3: two bytes, the second is alpha; colour reads as white. A write keeps
// the gray in the first byte so that nothing of the source is lost.
class Alpha16Picture : public PictureOf<Alpha16Picture, Picture, kPictureFormatAlpha16, 2> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept { return MakeRgba(255, 255, 255, p[1]); }
  void Write(uint8_t* p, uint32_t rgba) const noexcept {
    p[0] = static_cast<uint8_t>(PlainGray(rgba));
    p[1] = static_cast<uint8_t>(RgbaAlpha(rgba));
  }
};

// 4: gray, alpha.
class GrayAlphaPicture : public PictureOf<GrayAlphaPicture, Picture, kPictureFormatGrayAlpha, 2> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept { return MakeRgba(p[0], p[0], p[0], p[1]); }
  void Write(uint8_t* p, uint32_t rgba) const noexcept {
    p[0] = static_cast<uint8_t>(PlainGray(rgba));
    p[1] = static_cast<uint8_t>(RgbaAlpha(rgba));
  }
};

// 5: gray, opaque.
class GrayPicture : public PictureOf<GrayPicture, Picture, kPictureFormatGray, 1> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept { return MakeRgba(p[0], p[0], p[0], 255); }
  void Write(uint8_t* p, uint32_t rgba) const noexcept {
    p[0] = static_cast<uint8_t>(PlainGray(rgba));
  }
};

// 6: 16-bit gray stored low byte first, so the second byte is the
// significant one. A write of gray g stores g x 257, the exact 16-bit scale.
class Gray16Picture : public PictureOf<Gray16Picture, Picture, kPictureFormatGray16, 2> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept { return MakeRgba(p[1], p[1], p[1], 255); }
  void Write(uint8_t* p, uint32_t rgba) const noexcept {
    p[0] = p[1] = static_cast<uint8_t>(PlainGray(rgba));
  }
};

// Operations of the colour formats (7 and 8) on whole pictures.
class ColorPicture : public Picture {
 public:
  // Multiplies each colour channel by the matching channel of `tint` / 255
  // (alpha kept): how disabled or highlighted states of an image are made.
  virtual void Tint(uint32_t tint) noexcept = 0;
  // gray = trunc(sqrt((299 r + 587 g + 114 b) / 255000) x 255), alpha kept.
  // The RGB format leaves pixels of the key colour (0xBBGGRR) as they are;
  // the RGBA format ignores the key.
  virtual void PerceptualGray(uint32_t key_color) noexcept = 0;
  // gray = (54 r + 183 g + 19 b) / 256, alpha kept.
  virtual void PlainGrayscale() noexcept = 0;

 protected:
  explicit ColorPicture(uint32_t format) noexcept : Picture(format) {}
};

uint32_t PerceptualGrayOf(uint32_t r, uint32_t g, uint32_t b) noexcept;

// 7: red, green, blue.
class RgbPicture : public PictureOf<RgbPicture, ColorPicture, kPictureFormatRgb, 3> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept { return MakeRgba(p[0], p[1], p[2], 255); }
  void Write(uint8_t* p, uint32_t rgba) const noexcept {
    p[0] = static_cast<uint8_t>(RgbaRed(rgba));
    p[1] = static_cast<uint8_t>(RgbaGreen(rgba));
    p[2] = static_cast<uint8_t>(RgbaBlue(rgba));
  }
  Picture* Duplicate() const noexcept override;
  void Tint(uint32_t tint) noexcept override;
  void PerceptualGray(uint32_t key_color) noexcept override;
  void PlainGrayscale() noexcept override;
};

// 8: red, green, blue, alpha.
class RgbaPicture : public PictureOf<RgbaPicture, ColorPicture, kPictureFormatRgba, 4> {
 public:
  uint32_t Read(const uint8_t* p) const noexcept { return MakeRgba(p[0], p[1], p[2], p[3]); }
  void Write(uint8_t* p, uint32_t rgba) const noexcept {
    p[0] = static_cast<uint8_t>(RgbaRed(rgba));
    p[1] = static_cast<uint8_t>(RgbaGreen(rgba));
    p[2] = static_cast<uint8_t>(RgbaBlue(rgba));
    p[3] = static_cast<uint8_t>(RgbaAlpha(rgba));
  }
  Picture* Duplicate() const noexcept override;
  void Tint(uint32_t tint) noexcept override;
  void PerceptualGray(uint32_t key_color) noexcept override;
  void PlainGrayscale() noexcept override;
};

}  // namespace vorn
