#include "package/block_codec.h"

#include <cstring>

namespace vorn {

uint32_t EncodeVarUInt(uint32_t value, uint8_t* bytes) noexcept {
  uint32_t count = 0;
  while (value >= 0x80) {
    bytes[count++] = static_cast<uint8_t>(value | 0x80);
    value >>= 7;
  }
  bytes[count++] = static_cast<uint8_t>(value);
  return count;
}

BlockDecoder* NewBlockDecoder(PackMethod method) noexcept {
  switch (method) {
    case kMethodLzo:
      return NewLzoDecoder();
    case kMethodLzma:
      return NewLzmaDecoder();
    case kMethodPpmd:
      return NewPpmdDecoder();
    case kMethodLzma2:
      return NewLzma2Decoder();
    default:
      return nullptr;
  }
}

BlockEncoder* NewBlockEncoder(PackMethod method, uint32_t block_size, LzoLevel lzo_level) noexcept {
  switch (method) {
    case kMethodLzo:
      return NewLzoEncoder(lzo_level);
    case kMethodLzma:
      return NewLzmaEncoder(block_size);
    case kMethodPpmd:
      return NewPpmdEncoder();
    case kMethodLzma2:
      return NewLzma2Encoder(block_size);
    default:
      return nullptr;
  }
}

uint32_t FramedBlockBound(BlockEncoder& encoder, uint32_t size) noexcept {
  const uint32_t coded = encoder.Bound(size);
  return 2 * kMaxVarUIntSize + (coded > size ? coded : size);
}

Result EncodeFramedBlock(BlockEncoder& encoder, const uint8_t* input, uint32_t size,
                         uint8_t* output, uint32_t& output_size) noexcept {
  output_size = 0;
  uint8_t lengths[2 * kMaxVarUIntSize];
  const uint32_t head = EncodeVarUInt(size, lengths);
  // Coded bytes go after the longest possible pair of lengths, then move
  // down once their count is known.
  uint8_t* coded = output + 2 * kMaxVarUIntSize;
  uint32_t coded_size = 0;
  Result result =
      size == 0 ? kNoRoom : encoder.Encode(input, size, coded, encoder.Bound(size), coded_size);
  if (result == kOk && coded_size < size) {
    const uint32_t both = head + EncodeVarUInt(coded_size, lengths + head);
    std::memcpy(output, lengths, both);
    std::memmove(output + both, coded, coded_size);
    output_size = both + coded_size;
    return kOk;
  }
  if (result != kOk && result != kNoRoom) return result;
  const uint32_t both = head + EncodeVarUInt(0, lengths + head);
  std::memcpy(output, lengths, both);
  std::memcpy(output + both, input, size);
  output_size = both + size;
  return kOk;
}

}  // namespace vorn
