// libjpeg: compresses a tiny RGB image to memory and decompresses it again.
// libjpeg reports errors through a callback that must not return; it jumps
// back to the call instead, so nothing with a destructor lives between the
// setjmp and the library's frames.
#include <csetjmp>
#include <cstdlib>

// jpeglib.h uses size_t and FILE without declaring them.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "smoke_checks.h"

namespace vorn::smoke {
namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 8;
constexpr int kComponents = 3;
// JPEG is lossy: a smooth gradient at quality 95 comes back this close.
constexpr int kTolerance = 12;

struct ErrorTrap {
  jpeg_error_mgr manager;  // first: libjpeg hands the callback this pointer
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpToTrap(j_common_ptr info) {
  ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
  info->err->format_message(info, trap->message);
  std::longjmp(trap->jump, 1);
}

void SilenceWarning(j_common_ptr, int) {}

void InstallTrap(ErrorTrap& trap) {
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpToTrap;
  trap.manager.emit_message = SilenceWarning;
  trap.message[0] = '\0';
}

// On failure returns false with trap.message set; *file is malloc'd by libjpeg.
bool Compress(const unsigned char* pixels, ErrorTrap& trap, unsigned char** file,
              unsigned long* file_size) {
  jpeg_compress_struct info;
  info.err = &trap.manager;
  if (setjmp(trap.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, file, file_size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = kComponents;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels + info.next_scanline * kWidth * kComponents);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

bool Decompress(const unsigned char* file, unsigned long file_size, ErrorTrap& trap,
                unsigned char* pixels, JDIMENSION* width, JDIMENSION* height) {
  jpeg_decompress_struct info;
  info.err = &trap.manager;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file, file_size);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *width = info.output_width;
  *height = info.output_height;
  if (info.output_width != kWidth || info.output_height != kHeight ||
      info.output_components != kComponents) {
    jpeg_destroy_decompress(&info);
    return true;  // the caller reports the dimensions
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels + info.output_scanline * kWidth * kComponents;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::string CheckJpeg() {
  std::vector<unsigned char> pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      pixels.push_back(static_cast<unsigned char>(40 + x * 8));
      pixels.push_back(static_cast<unsigned char>(60 + y * 10));
      pixels.push_back(128);
    }
  }
  ErrorTrap trap;
  InstallTrap(trap);
  unsigned char* file = nullptr;
  unsigned long file_size = 0;
  if (!Compress(pixels.data(), trap, &file, &file_size)) {
    std::free(file);
    return std::string("compressing failed: ") + trap.message;
  }
  std::vector<unsigned char> decoded(pixels.size());
  JDIMENSION width = 0;
  JDIMENSION height = 0;
  const bool decompressed = Decompress(file, file_size, trap, decoded.data(), &width, &height);
  std::free(file);
  if (!decompressed) return std::string("decompressing failed: ") + trap.message;
  if (width != kWidth || height != kHeight) return "the image read back has other dimensions";
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (std::abs(int{decoded[i]} - int{pixels[i]}) > kTolerance) {
      return "the pixels read back are too far from the original";
    }
  }
  return {};
}

}  // namespace vorn::smoke
