// Picture files made by the tests themselves with libpng and libjpeg, so no
// binary test data lives in the repository.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorn::test {

using Bytes = std::vector<uint8_t>;

struct PngImage {
  int color_type = 6;  // PNG_COLOR_TYPE_*
  int bit_depth = 8;
  uint32_t width = 0;
  uint32_t height = 0;
  Bytes rows;          // PNG layout (16-bit samples big-endian), rows packed
  Bytes palette;       // rgb triples for colour type 3
  Bytes transparency;  // tRNS alpha values for colour type 3
  bool interlaced = false;
};

Bytes EncodePng(const PngImage& image);
// A PNG whose header declares the given size, with a tiny (invalid) data
// chunk: what a decompression bomb's first bytes look like.
Bytes PngHeaderOnly(uint32_t width, uint32_t height, int color_type, int bit_depth);

// color_space is a J_COLOR_SPACE value (1 gray, 2 RGB, 4 CMYK); pixels are
// packed rows of `components` bytes per pixel.
Bytes EncodeJpeg(int color_space, int components, uint32_t width, uint32_t height,
                 const Bytes& pixels, int quality = 95);

// A deterministic pattern of n bytes.
Bytes PatternBytes(size_t n, uint32_t seed);

}  // namespace vorn::test
