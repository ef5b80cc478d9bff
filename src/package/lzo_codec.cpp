// LZO1X blocks (method 2): the library's safe decompressor, which checks
// both the input and the output bounds, and LZO1X-1 or LZO1X-999 for writing.
#include <lzo/lzo1x.h>

#include <cstdlib>
#include <new>

#include "package/block_codec.h"

namespace vorn {

namespace {

// lzo_init only checks the library against its header; it is cheap and has
// no state to race on, so every stream runs it rather than keeping a flag.
bool LzoReady() {
  return lzo_init() == LZO_E_OK;
}

class LzoDecoder : public BlockDecoder {
 public:
  Result SetProperties(const uint8_t*) noexcept override { return kOk; }

  Result Decode(const uint8_t* input, uint32_t input_size, uint8_t* output,
                uint32_t output_size) noexcept override {
    lzo_uint produced = output_size;
    const int code = lzo1x_decompress_safe(input, input_size, output, &produced, nullptr);
    return code == LZO_E_OK && produced == output_size ? kOk : kFailed;
  }
};

class LzoEncoder : public BlockEncoder {
 public:
  explicit LzoEncoder(LzoLevel level) noexcept : level_(level) {}
  ~LzoEncoder() override { std::free(work_); }

  void Properties(uint8_t* properties) noexcept override {
    for (uint32_t i = 0; i < kPropertiesSize; ++i) properties[i] = 0;
  }

  // The library's documented worst case for incompressible input.
  uint32_t Bound(uint32_t size) noexcept override { return size + size / 16 + 67; }

  Result Encode(const uint8_t* input, uint32_t size, uint8_t* output, uint32_t capacity,
                uint32_t& output_size) noexcept override {
    output_size = 0;
    // LZO's compressors do not check the output bound themselves.
    if (capacity < Bound(size)) return kNoRoom;
    if (work_ == nullptr) {
      const size_t work_size =
          level_ == LzoLevel::kBest ? LZO1X_999_MEM_COMPRESS : LZO1X_1_MEM_COMPRESS;
      work_ = std::malloc(work_size);
      if (work_ == nullptr) return kOutOfMemory;
    }
    lzo_uint produced = 0;
    const int code = level_ == LzoLevel::kBest
                         ? lzo1x_999_compress_level(input, size, output, &produced, work_, nullptr,
                                                    0, nullptr, 8)
                         : lzo1x_1_compress(input, size, output, &produced, work_);
    if (code != LZO_E_OK) return kFailed;
    output_size = static_cast<uint32_t>(produced);
    return kOk;
  }

 private:
  LzoLevel level_;
  void* work_ = nullptr;
};

}  // namespace

BlockDecoder* NewLzoDecoder() noexcept {
  if (!LzoReady()) return nullptr;
  return new (std::nothrow) LzoDecoder();
}

BlockEncoder* NewLzoEncoder(LzoLevel level) noexcept {
  if (!LzoReady()) return nullptr;
  return new (std::nothrow) LzoEncoder(level);
}

}  // namespace vorn
