// JPEG through libjpeg. Its errors arrive by longjmp; the decompressor and
// the picture being filled live in JpegDecoding, outside the frame that
// calls setjmp, so one cleanup frees them whichever way decoding ends.
#include <csetjmp>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE
#include <new>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "resources/picture_decoders.h"

namespace vorn {
namespace {

struct JpegErrors {
  jpeg_error_mgr base;
  jmp_buf jump;
  // What a failure from here on means: 33 while the header is read, 7 after.
  Result code;
};

struct JpegDecoding {
  jpeg_decompress_struct info;
  JpegErrors errors;
  bool created = false;
  Picture* picture = nullptr;
};

void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  if (errors->base.msg_code == JERR_OUT_OF_MEMORY) errors->code = kOutOfMemory;
  // What libjpeg reports when its working memory would pass the limit below.
  if (errors->base.msg_code == JERR_NO_BACKING_STORE) errors->code = kInvalidSize;
  longjmp(errors->jump, 1);
}

// Warnings are silent (this layer shows and logs nothing), except image
// data that ends early, at the end of the file or at a marker: libjpeg
// would pad the rest with gray and call the image decoded, while a
// truncated or damaged file must fail.
void OnMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
    info->err->error_exit(info);
  }
}

void OnOutput(j_common_ptr) {}

uint32_t ChooseFormat(const jpeg_decompress_struct& info) {
  if (info.out_color_space == JCS_RGB && info.output_components == 3) return kPictureFormatRgb;
  if (info.out_color_space == JCS_GRAYSCALE && info.output_components == 1) {
    return kPictureFormatGray;
  }
  return 0;
}

Result RunDecoding(JpegDecoding* d, const uint8_t* bytes, size_t size) {
  d->info.err = jpeg_std_error(&d->errors.base);
  d->errors.base.error_exit = OnError;
  d->errors.base.emit_message = OnMessage;
  d->errors.base.output_message = OnOutput;
  d->errors.code = kOutOfMemory;
  if (setjmp(d->errors.jump)) return d->errors.code;
  jpeg_create_decompress(&d->info);
  d->created = true;
  // A progressive file keeps every coefficient of the image in memory; a
  // small file can declare a size whose buffers would exhaust it.
  d->info.mem->max_memory_to_use = static_cast<long>(kMaxPictureBytes);
  d->errors.code = kInvalidContent;
  jpeg_mem_src(&d->info, bytes, static_cast<unsigned long>(size));
  if (jpeg_read_header(&d->info, TRUE) != JPEG_HEADER_OK) return kInvalidContent;
  d->errors.code = kFailed;
  jpeg_calc_output_dimensions(&d->info);
  const uint32_t format = ChooseFormat(d->info);
  if (format == 0) return kBadFormat;
  d->picture = CreatePicture(format);
  if (!d->picture) return kOutOfMemory;
  // Allocate checks the declared size before committing any memory.
  if (Result r =
          d->picture->Allocate(d->info.output_width, d->info.output_height, nullptr, nullptr, true);
      r != kOk) {
    return r;
  }
  jpeg_start_decompress(&d->info);
  uint8_t* pixels = d->picture->Pixels();
  const uint32_t stride = d->picture->Stride();
  while (d->info.output_scanline < d->info.output_height) {
    JSAMPROW row = pixels + size_t{d->info.output_scanline} * stride;
    if (jpeg_read_scanlines(&d->info, &row, 1) != 1) return kFailed;
  }
  // The rows are complete; the markers after the last scan are not read, so
  // a file that lacks only its end marker still decodes.
  return kOk;
}

}  // namespace

Result DecodeJpeg(const uint8_t* bytes, size_t size, Picture*& picture) noexcept {
  picture = nullptr;
  // A JPEG begins with the start-of-image marker; anything else is not ours.
  if (!bytes || size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return kInvalidContent;
  JpegDecoding* d = new (std::nothrow) JpegDecoding;
  if (!d) return kOutOfMemory;
  const Result result = RunDecoding(d, bytes, size);
  if (d->created) jpeg_destroy_decompress(&d->info);
  if (result == kOk) {
    picture = d->picture;
  } else {
    delete d->picture;
  }
  delete d;
  return result;
}

}  // namespace vorn
