// LZMA blocks (method 3). The decoder writes straight into the block buffer
// (the block is its own dictionary), so no dictionary of the size named in
// the properties is ever allocated. lc up to 8 is accepted, as the package's
// own entries use lc 8.
#include <new>

#include "lzmasdk/LzmaDec.h"
#include "lzmasdk/LzmaEnc.h"
#include "package/block_codec.h"
#include "package/sdk_allocator.h"

namespace vorn {

namespace {

Result FromSdk(SRes code) {
  switch (code) {
    case SZ_OK:
      return kOk;
    case SZ_ERROR_MEM:
      return kOutOfMemory;
    case SZ_ERROR_OUTPUT_EOF:
      return kNoRoom;
    default:
      return kFailed;
  }
}

class LzmaDecoder : public BlockDecoder {
 public:
  LzmaDecoder() noexcept { LzmaDec_CONSTRUCT(&state_); }
  ~LzmaDecoder() override { LzmaDec_FreeProbs(&state_, &kSdkAllocator); }

  Result SetProperties(const uint8_t* properties) noexcept override {
    ready_ = false;
    const SRes code = LzmaDec_AllocateProbs(&state_, properties, LZMA_PROPS_SIZE, &kSdkAllocator);
    if (code == SZ_ERROR_MEM) return kOutOfMemory;
    if (code != SZ_OK) return kFailed;
    ready_ = true;
    return kOk;
  }

  Result Decode(const uint8_t* input, uint32_t input_size, uint8_t* output,
                uint32_t output_size) noexcept override {
    if (!ready_) return kNotOpen;
    state_.dic = output;
    state_.dicBufSize = output_size;
    LzmaDec_Init(&state_);
    SizeT consumed = input_size;
    ELzmaStatus status;
    const SRes code =
        LzmaDec_DecodeToDic(&state_, output_size, input, &consumed, LZMA_FINISH_END, &status);
    const SizeT produced = state_.dicPos;
    state_.dic = nullptr;
    state_.dicBufSize = 0;
    return code == SZ_OK && produced == output_size ? kOk : kFailed;
  }

 private:
  CLzmaDec state_;
  bool ready_ = false;
};

class LzmaEncoder : public BlockEncoder {
 public:
  explicit LzmaEncoder(uint32_t block_size) noexcept {
    LzmaEncProps_Init(&settings_);
    settings_.level = 9;
    settings_.lc = 8;
    settings_.lp = 0;
    settings_.pb = 0;
    settings_.fb = 273;
    settings_.numThreads = 1;
    settings_.writeEndMark = 0;
    // The dictionary follows the block size, and so do the properties,
    // which therefore stay the same for every block of the entry.
    settings_.reduceSize = block_size;
    LzmaEncProps_Normalize(&settings_);
  }

  void Properties(uint8_t* properties) noexcept override {
    properties[0] = static_cast<uint8_t>((settings_.pb * 5 + settings_.lp) * 9 + settings_.lc);
    for (int i = 0; i < 4; ++i)
      properties[1 + i] = static_cast<uint8_t>(settings_.dictSize >> (8 * i));
  }

  uint32_t Bound(uint32_t size) noexcept override { return size / 20 * 21 + 65536; }

  Result Encode(const uint8_t* input, uint32_t size, uint8_t* output, uint32_t capacity,
                uint32_t& output_size) noexcept override {
    output_size = 0;
    CLzmaEncHandle encoder = LzmaEnc_Create(&kSdkAllocator);
    if (encoder == nullptr) return kOutOfMemory;
    SRes code = LzmaEnc_SetProps(encoder, &settings_);
    SizeT produced = capacity;
    if (code == SZ_OK) {
      code = LzmaEnc_MemEncode(encoder, output, &produced, input, size, 0, nullptr, &kSdkAllocator,
                               &kSdkAllocator);
    }
    LzmaEnc_Destroy(encoder, &kSdkAllocator, &kSdkAllocator);
    if (code != SZ_OK) return FromSdk(code);
    output_size = static_cast<uint32_t>(produced);
    return kOk;
  }

 private:
  CLzmaEncProps settings_;
};

}  // namespace

BlockDecoder* NewLzmaDecoder() noexcept {
  return new (std::nothrow) LzmaDecoder();
}

BlockEncoder* NewLzmaEncoder(uint32_t block_size) noexcept {
  return new (std::nothrow) LzmaEncoder(block_size);
}

}  // namespace vorn
