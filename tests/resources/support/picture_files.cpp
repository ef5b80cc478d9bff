#include "resources/support/picture_files.h"

#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

// clang-format off
#include <cstdio>  // before jpeglib.h, which needs FILE
#include <jpeglib.h>
// clang-format on

namespace vorn::test {
namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Nothing(png_structp) {}

void PutBigEndian(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBigEndian(out, static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

}  // namespace

Bytes EncodePng(const PngImage& image) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendToVector, Nothing);
  png_set_IHDR(png, info, image.width, image.height, image.bit_depth, image.color_type,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  if (!image.palette.empty()) {
    for (size_t i = 0; i + 2 < image.palette.size(); i += 3) {
      palette.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    }
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  if (!image.transparency.empty()) {
    png_set_tRNS(png, info, image.transparency.data(), static_cast<int>(image.transparency.size()),
                 nullptr);
  }
  png_write_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  std::vector<png_bytep> rows(image.height);
  for (uint32_t y = 0; y < image.height; ++y) {
    rows[y] = const_cast<png_bytep>(image.rows.data()) + y * stride;
  }
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes PngHeaderOnly(uint32_t width, uint32_t height, int color_type, int bit_depth) {
  Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header.push_back(static_cast<uint8_t>(bit_depth));
  header.push_back(static_cast<uint8_t>(color_type));
  header.push_back(0);
  header.push_back(0);
  header.push_back(0);
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", Bytes{0x78, 0x9C, 0x03, 0x00});
  PutChunk(out, "IEND", Bytes{});
  return out;
}

Bytes EncodeJpeg(int color_space, int components, uint32_t width, uint32_t height,
                 const Bytes& pixels, int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = static_cast<J_COLOR_SPACE>(color_space);
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row =
        const_cast<JSAMPROW>(pixels.data()) + size_t{info.next_scanline} * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  free(buffer);
  return out;
}

Bytes PatternBytes(size_t n, uint32_t seed) {
  Bytes out(n);
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < n; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    out[i] = static_cast<uint8_t>(x);
  }
  return out;
}

}  // namespace vorn::test
