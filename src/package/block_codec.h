// The coders behind the block-framed methods (LZO1X, LZMA, PPMd, LZMA2) and
// the framing of one block. Every block is coded by a fresh run of its coder,
// so compressing a block depends only on the method, its settings and the
// block's bytes: a package tool may compress blocks on several threads and
// write the results in order.
//
// An entry's data: for the LZMA methods a 5-byte properties field, then
// blocks of (unpacked length, packed length, data) with both lengths as
// little-endian base-128 numbers; a packed length of 0 marks a stored block.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "package/package_format.h"

namespace vorn {

constexpr uint32_t kPropertiesSize = 5;
// The reader keeps a whole block in memory; longer blocks are refused as
// corrupt rather than allocated (the package uses 4 MiB blocks).
constexpr uint32_t kMaxBlockLength = 256u << 20;
// A base-128 number of 32 bits takes at most 5 bytes.
constexpr uint32_t kMaxVarUIntSize = 5;

// Writes `value` in its shortest base-128 form; returns the byte count.
uint32_t EncodeVarUInt(uint32_t value, uint8_t* bytes) noexcept;

class BlockDecoder {
 public:
  virtual ~BlockDecoder() = default;
  // The entry's properties field (methods 3 to 5); rejection: 7.
  virtual Result SetProperties(const uint8_t* properties) noexcept = 0;
  // Decodes `input` into exactly `output_size` bytes; corrupt data, or any
  // other count, gives 7. Never writes past the output nor reads past the
  // input.
  virtual Result Decode(const uint8_t* input, uint32_t input_size, uint8_t* output,
                        uint32_t output_size) noexcept = 0;
};

class BlockEncoder {
 public:
  virtual ~BlockEncoder() = default;
  // The 5-byte properties field written before the first block (zeros for
  // LZO, which has none).
  virtual void Properties(uint8_t* properties) noexcept = 0;
  // Room the coder may need for a block of `size` bytes.
  virtual uint32_t Bound(uint32_t size) noexcept = 0;
  // Codes one block into `output` (`capacity` bytes). A result that would
  // not fit fails with 24; the caller then stores the block.
  virtual Result Encode(const uint8_t* input, uint32_t size, uint8_t* output, uint32_t capacity,
                        uint32_t& output_size) noexcept = 0;
};

// LZO's two writing modes: LZO1X-1, or LZO1X-999 at level 8.
enum class LzoLevel : uint32_t { kFast = 1, kBest = 2 };

// Decoders and encoders for methods 2 to 5; null when out of memory or for
// any other method. `block_size` is the size hint the LZMA encoders tune
// their dictionary to; the properties depend on it, not on each block.
BlockDecoder* NewBlockDecoder(PackMethod method) noexcept;
BlockEncoder* NewBlockEncoder(PackMethod method, uint32_t block_size,
                              LzoLevel lzo_level = LzoLevel::kFast) noexcept;

// The per-coder constructors behind the two factories.
BlockDecoder* NewLzoDecoder() noexcept;
BlockDecoder* NewLzmaDecoder() noexcept;
BlockDecoder* NewPpmdDecoder() noexcept;
BlockDecoder* NewLzma2Decoder() noexcept;
BlockEncoder* NewLzoEncoder(LzoLevel level) noexcept;
BlockEncoder* NewLzmaEncoder(uint32_t block_size) noexcept;
BlockEncoder* NewPpmdEncoder() noexcept;
BlockEncoder* NewLzma2Encoder(uint32_t block_size) noexcept;

// Room for the framed form of a block of `size` bytes.
uint32_t FramedBlockBound(BlockEncoder& encoder, uint32_t size) noexcept;
// One block as it goes into the entry: lengths and coded bytes, or lengths
// and the raw bytes when coding does not make it shorter. `output` holds
// FramedBlockBound(encoder, size) bytes.
Result EncodeFramedBlock(BlockEncoder& encoder, const uint8_t* input, uint32_t size,
                         uint8_t* output, uint32_t& output_size) noexcept;

}  // namespace vorn
