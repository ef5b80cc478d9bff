// PackageEncoders: the coders a package is written with. Streams that only
// read (the installer's) are made without them and so bring no encoder into
// the program: a writer hands them to the streams it makes.
//
//   LZMAStream lzma(kMethodLzma, &kPackageEncoders);
//   lzma.Init(&sink, 0, 0, BlockStream::kWriting);
//
// A stream made without them refuses to write (Init in a writing mode, or
// LZHStream's first Write, gives 2).
#pragma once

#include <cstdint>

#include "package/block_codec.h"
#include "package/package_format.h"

namespace vorn {

struct PackageEncoders {
  // NewBlockEncoder: the coders of methods 2 to 5.
  BlockEncoder* (*new_block_encoder)(PackMethod method, uint32_t block_size,
                                     LzoLevel lzo_level) noexcept;
  // zlib's deflateInit, deflate and deflateEnd over an opaque z_stream (the
  // stream headers do not include zlib), for method 1.
  int (*deflate_init)(void* zlib_stream, int level) noexcept;
  int (*deflate)(void* zlib_stream, int flush) noexcept;
  int (*deflate_end)(void* zlib_stream) noexcept;
};

// Every encoder of the package format.
extern const PackageEncoders kPackageEncoders;

}  // namespace vorn
