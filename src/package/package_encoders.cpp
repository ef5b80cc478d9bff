#include "package/package_encoders.h"

#include <zlib.h>

namespace vorn {

namespace {

int DeflateInit(void* zlib_stream, int level) noexcept {
  return deflateInit(static_cast<z_stream*>(zlib_stream), level);
}

int Deflate(void* zlib_stream, int flush) noexcept {
  return deflate(static_cast<z_stream*>(zlib_stream), flush);
}

int DeflateEnd(void* zlib_stream) noexcept {
  return deflateEnd(static_cast<z_stream*>(zlib_stream));
}

}  // namespace

const PackageEncoders kPackageEncoders = {&NewBlockEncoder, &DeflateInit, &Deflate, &DeflateEnd};

}  // namespace vorn
