// PNG through libpng. libpng reports errors by longjmp, so everything the
// decoding allocates lives in PngDecoding, outside the frame that calls
// setjmp, and is freed by one cleanup whatever way the decoding ends.
#include <png.h>

#include <cstdlib>
#include <cstring>

#include "resources/picture_decoders.h"

namespace vorn {
namespace {

struct PngDecoding {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  size_t position = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  uint8_t* rows = nullptr;
  png_bytep* row_pointers = nullptr;
  uint32_t format = 0;
  uint8_t palette[kPaletteBytes] = {};
  // The code a longjmp out of libpng ends the decoding with.
  Result error = kFailed;
};

void ReadFromMemory(png_structp png, png_bytep data, png_size_t length) {
  auto* d = static_cast<PngDecoding*>(png_get_io_ptr(png));
  if (length > d->size - d->position) png_error(png, "truncated");
  std::memcpy(data, d->bytes + d->position, length);
  d->position += length;
}

void OnError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
// The framework keeps no log and shows nothing from this layer.
void OnWarning(png_structp, png_const_charp) {}

// The format of a colour type and bit depth, 0 for none. Two layouts are
// transformed so that the delivered rows match their format: 16-bit gray is
// swapped to low byte first (its second byte is then the significant one),
// and 16-bit gray with alpha is reduced to one byte per sample, giving the
// two bytes per pixel, alpha second, that its format has.
uint32_t ChooseFormat(png_structp png, int color_type, int bit_depth) {
  switch (color_type) {
    case PNG_COLOR_TYPE_GRAY:
      if (bit_depth == 8) return kPictureFormatGray;
      if (bit_depth == 16) {
        png_set_swap(png);
        return kPictureFormatGray16;
      }
      return 0;
    case PNG_COLOR_TYPE_RGB:
      return bit_depth == 8 ? kPictureFormatRgb : 0;
    case PNG_COLOR_TYPE_PALETTE:
      return bit_depth == 8 ? kPictureFormatPalette : 0;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      if (bit_depth == 8) return kPictureFormatGrayAlpha;
      if (bit_depth == 16) {
        png_set_strip_16(png);
        return kPictureFormatAlpha16;
      }
      return 0;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return bit_depth == 8 ? kPictureFormatRgba : 0;
    default:
      return 0;
  }
}

// Transparency chunks are deliberately not applied: palette entries are
// opaque, as pictures of this format have always been read.
void CopyPalette(PngDecoding* d) {
  png_colorp entries = nullptr;
  int count = 0;
  if (png_get_PLTE(d->png, d->info, &entries, &count) != PNG_INFO_PLTE) return;
  if (count > 256) count = 256;
  for (int i = 0; i < count; ++i) {
    d->palette[i * 4] = entries[i].red;
    d->palette[i * 4 + 1] = entries[i].green;
    d->palette[i * 4 + 2] = entries[i].blue;
    d->palette[i * 4 + 3] = 255;
  }
}

// Everything between setjmp and the end of libpng's work. Returns the code;
// on success d->rows holds the image.
Result RunDecoding(PngDecoding* d, uint32_t& width, uint32_t& height) {
  if (setjmp(png_jmpbuf(d->png))) return d->error;
  png_set_read_fn(d->png, d, ReadFromMemory);
  png_set_sig_bytes(d->png, 8);
  png_read_info(d->png, d->info);
  const uint32_t w = png_get_image_width(d->png, d->info);
  const uint32_t h = png_get_image_height(d->png, d->info);
  d->format =
      ChooseFormat(d->png, png_get_color_type(d->png, d->info), png_get_bit_depth(d->png, d->info));
  if (d->format == 0) return kBadFormat;
  Picture* probe = CreatePicture(d->format);
  if (!probe) return kOutOfMemory;
  const uint32_t bits = probe->BitsPerPixel();
  delete probe;
  uint32_t stride = 0;
  size_t bytes = 0;
  // The declared size is checked before libpng or we allocate any row.
  if (Result r = PictureGeometry(bits, w, h, stride, bytes); r != kOk) return r;
  png_set_interlace_handling(d->png);
  png_read_update_info(d->png, d->info);
  if (png_get_rowbytes(d->png, d->info) != stride) return kBadFormat;
  if (d->format == kPictureFormatPalette) CopyPalette(d);
  d->rows = static_cast<uint8_t*>(std::malloc(bytes ? bytes : 1));
  d->row_pointers = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * (h ? h : 1)));
  if (!d->rows || !d->row_pointers) return kOutOfMemory;
  for (uint32_t y = 0; y < h; ++y) d->row_pointers[y] = d->rows + size_t{y} * stride;
  png_read_image(d->png, d->row_pointers);
  png_read_end(d->png, nullptr);
  width = w;
  height = h;
  return kOk;
}

}  // namespace

Result DecodePng(const uint8_t* bytes, size_t size, Picture*& picture) noexcept {
  picture = nullptr;
  if (!bytes || size < 8 || png_sig_cmp(bytes, 0, 8) != 0) return kInvalidContent;
  PngDecoding d;
  d.bytes = bytes;
  d.size = size;
  d.position = 8;
  d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (d.png) d.info = png_create_info_struct(d.png);
  Result result = kOutOfMemory;
  uint32_t width = 0;
  uint32_t height = 0;
  if (d.png && d.info) result = RunDecoding(&d, width, height);
  if (d.png) png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
  std::free(d.row_pointers);
  if (result == kOk) {
    picture = CreatePicture(d.format);
    if (!picture) {
      result = kOutOfMemory;
    } else {
      // The picture owns the rows from here on; Allocate frees them when it fails.
      result = picture->Allocate(width, height, d.rows, d.palette, true);
      d.rows = nullptr;
      if (result != kOk) {
        delete picture;
        picture = nullptr;
      }
    }
  }
  std::free(d.rows);
  return result;
}

}  // namespace vorn
