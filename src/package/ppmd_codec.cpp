// PPMd blocks (method 4): variant H with the 7z range coder. The model's
// memory is allocated once per decoder and kept while the size stays; every
// block restarts the model.
#include <new>

#include "lzmasdk/Ppmd7.h"
#include "package/block_codec.h"
#include "package/sdk_allocator.h"

namespace vorn {

namespace {

// The package's own entries ask for 192 MiB. A larger request is refused as
// corrupt properties rather than reserved on the word of an archive.
constexpr uint32_t kMaxModelMemory = 256u << 20;
constexpr uint32_t kEncoderOrder = 32;
constexpr uint32_t kEncoderMemory = 0x0C000000;

// Presents the coded block to the range decoder; reading past it yields 0
// and is remembered, which makes the block corrupt.
struct ByteReader {
  IByteIn vt;
  const uint8_t* next;
  const uint8_t* end;
  bool overrun;
};

Byte ReadByte(IByteInPtr p) {
  auto* reader = reinterpret_cast<ByteReader*>(const_cast<IByteIn*>(p));
  if (reader->next == reader->end) {
    reader->overrun = true;
    return 0;
  }
  return *reader->next++;
}

// Collects the range encoder's bytes; bytes past the room are dropped and
// make the result too long.
struct ByteWriter {
  IByteOut vt;
  uint8_t* next;
  uint8_t* end;
  bool overflow;
};

void WriteByte(IByteOutPtr p, Byte b) {
  auto* writer = reinterpret_cast<ByteWriter*>(const_cast<IByteOut*>(p));
  if (writer->next == writer->end) {
    writer->overflow = true;
    return;
  }
  *writer->next++ = b;
}

class PpmdModel {
 public:
  PpmdModel() noexcept { Ppmd7_Construct(&model_); }
  ~PpmdModel() { Ppmd7_Free(&model_, &kSdkAllocator); }

  Result Reserve(uint32_t memory) noexcept {
    if (memory == memory_ && Ppmd7_WasAllocated(&model_)) return kOk;
    Ppmd7_Free(&model_, &kSdkAllocator);
    memory_ = 0;
    if (!Ppmd7_Alloc(&model_, memory, &kSdkAllocator)) return kOutOfMemory;
    memory_ = memory;
    return kOk;
  }

  CPpmd7& Model() noexcept { return model_; }

 private:
  CPpmd7 model_;
  uint32_t memory_ = 0;
};

class PpmdDecoder : public BlockDecoder {
 public:
  Result SetProperties(const uint8_t* properties) noexcept override {
    ready_ = false;
    const uint32_t order = properties[0];
    const uint32_t memory = properties[1] | properties[2] << 8 | properties[3] << 16 |
                            static_cast<uint32_t>(properties[4]) << 24;
    if (order < PPMD7_MIN_ORDER || order > PPMD7_MAX_ORDER) return kFailed;
    if (memory < PPMD7_MIN_MEM_SIZE || memory > kMaxModelMemory) return kFailed;
    Result result = model_.Reserve(memory);
    if (result != kOk) return result;
    order_ = order;
    ready_ = true;
    return kOk;
  }

  Result Decode(const uint8_t* input, uint32_t input_size, uint8_t* output,
                uint32_t output_size) noexcept override {
    if (!ready_) return kNotOpen;
    CPpmd7& model = model_.Model();
    ByteReader reader = {{ReadByte}, input, input + input_size, false};
    model.rc.dec.Stream = &reader.vt;
    Ppmd7_Init(&model, order_);
    if (!Ppmd7z_RangeDec_Init(&model.rc.dec)) return kFailed;
    for (uint32_t i = 0; i < output_size; ++i) {
      const int symbol = Ppmd7z_DecodeSymbol(&model);
      if (symbol < 0 || reader.overrun) return kFailed;
      output[i] = static_cast<uint8_t>(symbol);
    }
    // Without an end marker, only a range decoder that ends exactly where the
    // encoder flushed shows that the block was as long as it claims.
    if (reader.overrun || !Ppmd7z_RangeDec_IsFinishedOK(&model.rc.dec)) return kFailed;
    return kOk;
  }

 private:
  PpmdModel model_;
  uint32_t order_ = 0;
  bool ready_ = false;
};

class PpmdEncoder : public BlockEncoder {
 public:
  void Properties(uint8_t* properties) noexcept override {
    properties[0] = static_cast<uint8_t>(kEncoderOrder);
    for (int i = 0; i < 4; ++i) properties[1 + i] = static_cast<uint8_t>(kEncoderMemory >> (8 * i));
  }

  uint32_t Bound(uint32_t size) noexcept override { return size / 20 * 21 + 65536; }

  Result Encode(const uint8_t* input, uint32_t size, uint8_t* output, uint32_t capacity,
                uint32_t& output_size) noexcept override {
    output_size = 0;
    // The model's memory is kept between blocks; each block restarts the
    // model, so the output depends on the block alone.
    Result result = model_.Reserve(kEncoderMemory);
    if (result != kOk) return result;
    CPpmd7& model = model_.Model();
    ByteWriter writer = {{WriteByte}, output, output + capacity, false};
    model.rc.enc.Stream = &writer.vt;
    Ppmd7z_Init_RangeEnc(&model);
    Ppmd7_Init(&model, kEncoderOrder);
    Ppmd7z_EncodeSymbols(&model, input, input + size);
    Ppmd7z_Flush_RangeEnc(&model);
    if (writer.overflow) return kNoRoom;
    output_size = static_cast<uint32_t>(writer.next - output);
    return kOk;
  }

 private:
  PpmdModel model_;
};

}  // namespace

BlockDecoder* NewPpmdDecoder() noexcept {
  return new (std::nothrow) PpmdDecoder();
}

BlockEncoder* NewPpmdEncoder() noexcept {
  return new (std::nothrow) PpmdEncoder();
}

}  // namespace vorn
