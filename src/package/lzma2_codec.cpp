// LZMA2 blocks (method 5). Only the first byte of the properties field (the
// dictionary property) reaches the coder; the other four are padding.
#include <new>

#include "lzmasdk/Lzma2Dec.h"
#include "lzmasdk/Lzma2Enc.h"
#include "package/block_codec.h"
#include "package/sdk_allocator.h"

namespace vorn {

namespace {

// The largest dictionary property LZMA2 defines (4 GiB - 1).
constexpr uint8_t kMaxDictionaryProperty = 40;

class Lzma2Decoder : public BlockDecoder {
 public:
  Lzma2Decoder() noexcept { Lzma2Dec_CONSTRUCT(&state_); }
  ~Lzma2Decoder() override { LzmaDec_FreeProbs(&state_.decoder, &kSdkAllocator); }

  Result SetProperties(const uint8_t* properties) noexcept override {
    ready_ = false;
    if (properties[0] > kMaxDictionaryProperty) return kFailed;
    const SRes code = Lzma2Dec_AllocateProbs(&state_, properties[0], &kSdkAllocator);
    if (code == SZ_ERROR_MEM) return kOutOfMemory;
    if (code != SZ_OK) return kFailed;
    ready_ = true;
    return kOk;
  }

  Result Decode(const uint8_t* input, uint32_t input_size, uint8_t* output,
                uint32_t output_size) noexcept override {
    if (!ready_) return kNotOpen;
    state_.decoder.dic = output;
    state_.decoder.dicBufSize = output_size;
    Lzma2Dec_Init(&state_);
    SizeT consumed = input_size;
    ELzmaStatus status;
    const SRes code =
        Lzma2Dec_DecodeToDic(&state_, output_size, input, &consumed, LZMA_FINISH_END, &status);
    const SizeT produced = state_.decoder.dicPos;
    state_.decoder.dic = nullptr;
    state_.decoder.dicBufSize = 0;
    return code == SZ_OK && produced == output_size ? kOk : kFailed;
  }

 private:
  CLzma2Dec state_;
  bool ready_ = false;
};

class Lzma2Encoder : public BlockEncoder {
 public:
  explicit Lzma2Encoder(uint32_t block_size) noexcept {
    Lzma2EncProps_Init(&settings_);
    settings_.lzmaProps.level = 9;
    settings_.lzmaProps.lc = 4;
    settings_.lzmaProps.lp = 0;
    settings_.lzmaProps.pb = 0;
    settings_.lzmaProps.fb = 273;
    settings_.lzmaProps.numThreads = 1;
    settings_.lzmaProps.reduceSize = block_size;
    settings_.blockSize = LZMA2_ENC_PROPS_BLOCK_SIZE_SOLID;
    settings_.numBlockThreads_Max = 1;
    settings_.numBlockThreads_Reduced = 1;
    settings_.numTotalThreads = 1;
  }

  void Properties(uint8_t* properties) noexcept override {
    for (uint32_t i = 0; i < kPropertiesSize; ++i) properties[i] = 0;
    CLzma2EncHandle encoder = Lzma2Enc_Create(&kSdkAllocator, &kSdkAllocator);
    if (encoder == nullptr) return;
    if (Lzma2Enc_SetProps(encoder, &settings_) == SZ_OK) {
      properties[0] = Lzma2Enc_WriteProperties(encoder);
    }
    Lzma2Enc_Destroy(encoder);
  }

  uint32_t Bound(uint32_t size) noexcept override { return size / 20 * 21 + 65536; }

  Result Encode(const uint8_t* input, uint32_t size, uint8_t* output, uint32_t capacity,
                uint32_t& output_size) noexcept override {
    output_size = 0;
    CLzma2EncHandle encoder = Lzma2Enc_Create(&kSdkAllocator, &kSdkAllocator);
    if (encoder == nullptr) return kOutOfMemory;
    SRes code = Lzma2Enc_SetProps(encoder, &settings_);
    size_t produced = capacity;
    if (code == SZ_OK) {
      code = Lzma2Enc_Encode2(encoder, nullptr, output, &produced, nullptr, input, size, nullptr);
    }
    Lzma2Enc_Destroy(encoder);
    if (code == SZ_ERROR_MEM) return kOutOfMemory;
    if (code == SZ_ERROR_OUTPUT_EOF) return kNoRoom;
    if (code != SZ_OK) return kFailed;
    output_size = static_cast<uint32_t>(produced);
    return kOk;
  }

 private:
  CLzma2EncProps settings_;
};

}  // namespace

BlockDecoder* NewLzma2Decoder() noexcept {
  return new (std::nothrow) Lzma2Decoder();
}

BlockEncoder* NewLzma2Encoder(uint32_t block_size) noexcept {
  return new (std::nothrow) Lzma2Encoder(block_size);
}

}  // namespace vorn
