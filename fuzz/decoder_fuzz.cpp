// Each decoding stream over the input: the first byte picks the decoder
// (LZH, LZO, LZMA, PPMd, LZMA2), the next three give the unpacked size, the
// rest is the entry's data (byte 4 is spare). The streams live across inputs, as the
// archive's own decoders live across its entries.
// The library is built without RTTI, so UBSan cannot check the dynamic
// types of its objects here; everything else stays checked.
#pragma clang attribute push(__attribute__((no_sanitize("vptr"))), apply_to = function)
#include <cstddef>
#include <cstdint>

#include "package/lzh_stream.h"
#include "package/lzma_stream.h"
#include "package/lzo_stream.h"
#include "package/memory_stream.h"

namespace {

uint8_t g_buffer[1 << 17];

vorn::Stream* Start(uint8_t kind, vorn::MemoryStream& source, uint64_t packed, uint64_t unpacked) {
  static vorn::LZHStream lzh;
  static vorn::LZOStream lzo;
  static vorn::LZMAStream lzma(vorn::kMethodLzma);
  static vorn::LZMAStream ppmd(vorn::kMethodPpmd);
  static vorn::LZMAStream lzma2(vorn::kMethodLzma2);
  switch (kind % 5) {
    case 0:
      return lzh.Init(&source, packed, unpacked) == vorn::kOk ? &lzh : nullptr;
    case 1:
      return lzo.Init(&source, packed, unpacked) == vorn::kOk ? &lzo : nullptr;
    case 2:
      return lzma.Init(&source, packed, unpacked) == vorn::kOk ? &lzma : nullptr;
    case 3:
      return ppmd.Init(&source, packed, unpacked) == vorn::kOk ? &ppmd : nullptr;
    default:
      return lzma2.Init(&source, packed, unpacked) == vorn::kOk ? &lzma2 : nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  // Up to 16 MiB of output keeps each run short.
  const uint64_t unpacked = data[1] | data[2] << 8 | data[3] << 16;
  vorn::MemoryStream source(data + 5, size - 5);
  if (size == 5) source.Open(data, 1, vorn::MemoryStream::kReading);  // an empty entry
  const uint64_t packed = size - 5;
  vorn::Stream* stream = Start(data[0], source, packed, unpacked);
  if (stream == nullptr) return 0;
  uint32_t part = 1;
  while (stream->Position() < stream->Size()) {
    const uint64_t left = stream->Size() - stream->Position();
    const uint32_t count = left < part ? uint32_t(left) : part;
    if (stream->Read(g_buffer, count) != vorn::kOk) break;
    part = part * 5 + 3;
    if (part > sizeof(g_buffer)) part = 11;
  }
  return 0;
}

#pragma clang attribute pop
