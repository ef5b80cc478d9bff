// libpng: the simplified API writes a tiny RGBA image to memory and reads it
// back.
#include <png.h>

#include <cstring>

#include "smoke_checks.h"

namespace vorn::smoke {
namespace {

constexpr png_uint_32 kWidth = 7;
constexpr png_uint_32 kHeight = 5;

std::vector<unsigned char> TestPixels() {
  std::vector<unsigned char> pixels;
  for (png_uint_32 y = 0; y < kHeight; ++y) {
    for (png_uint_32 x = 0; x < kWidth; ++x) {
      pixels.push_back(static_cast<unsigned char>(x * 36));
      pixels.push_back(static_cast<unsigned char>(y * 60));
      pixels.push_back(static_cast<unsigned char>((x + y) * 20));
      pixels.push_back(static_cast<unsigned char>(255 - x * y));
    }
  }
  return pixels;
}

std::string Problem(const char* step, const png_image& image) {
  return std::string(step) + " failed: " + image.message;
}

}  // namespace

std::string CheckPng() {
  if (std::strcmp(png_get_libpng_ver(nullptr), PNG_LIBPNG_VER_STRING) != 0) {
    return std::string("header is ") + PNG_LIBPNG_VER_STRING + ", library is " +
           png_get_libpng_ver(nullptr);
  }
  const std::vector<unsigned char> pixels = TestPixels();
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = kWidth;
  image.height = kHeight;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
    return Problem("png_image_write_to_memory (size)", image);
  }
  std::vector<unsigned char> file(size);
  if (!png_image_write_to_memory(&image, file.data(), &size, 0, pixels.data(), 0, nullptr)) {
    return Problem("png_image_write_to_memory", image);
  }

  png_image read;
  std::memset(&read, 0, sizeof read);
  read.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&read, file.data(), size)) {
    return Problem("png_image_begin_read_from_memory", read);
  }
  if (read.width != kWidth || read.height != kHeight) {
    png_image_free(&read);
    return "the image read back has other dimensions";
  }
  read.format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> decoded(PNG_IMAGE_SIZE(read));
  if (!png_image_finish_read(&read, nullptr, decoded.data(), 0, nullptr)) {
    return Problem("png_image_finish_read", read);
  }
  if (decoded != pixels) return "the pixels read back differ";
  return {};
}

}  // namespace vorn::smoke
