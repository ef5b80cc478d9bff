// The LZMA SDK: LzmaEncode/LzmaDecode, Lzma2Enc/Lzma2Decode and the PPMd
// variant H coder with the 7z range coder, each a round trip in memory.
#include <string>

#include "lzmasdk/Alloc.h"
#include "lzmasdk/Lzma2Dec.h"
#include "lzmasdk/Lzma2Enc.h"
#include "lzmasdk/LzmaDec.h"
#include "lzmasdk/LzmaEnc.h"
#include "lzmasdk/Ppmd7.h"
#include "smoke_checks.h"

namespace vorn::smoke {
namespace {

constexpr UInt32 kDictionarySize = 1 << 16;
constexpr unsigned kPpmdOrder = 6;
constexpr UInt32 kPpmdMemory = 1 << 20;

std::string Failed(const char* step, SRes result) {
  return std::string(step) + " failed with " + std::to_string(result);
}

// The SDK's byte streams are C interfaces: the vtable comes first, so the
// callback can reach its object from the interface pointer.
struct ByteSink {
  IByteOut vt;
  std::vector<unsigned char>* bytes;
};

void WriteByte(IByteOutPtr stream, Byte byte) {
  reinterpret_cast<const ByteSink*>(stream)->bytes->push_back(byte);
}

struct ByteSource {
  IByteIn vt;
  const std::vector<unsigned char>* bytes;
  size_t position;
  bool overrun;
};

Byte ReadByte(IByteInPtr stream) {
  // The interface is const; the read position is not part of it.
  ByteSource* source = const_cast<ByteSource*>(reinterpret_cast<const ByteSource*>(stream));
  if (source->position == source->bytes->size()) {
    source->overrun = true;
    return 0;
  }
  return (*source->bytes)[source->position++];
}

}  // namespace

std::string CheckLzma() {
  const std::vector<unsigned char> input = SampleData();
  CLzmaEncProps props;
  LzmaEncProps_Init(&props);
  props.level = 5;
  props.dictSize = kDictionarySize;
  std::vector<unsigned char> packed(input.size() + input.size() / 3 + 128);
  SizeT packed_size = packed.size();
  Byte coded_props[LZMA_PROPS_SIZE];
  SizeT coded_props_size = LZMA_PROPS_SIZE;
  SRes result = LzmaEncode(packed.data(), &packed_size, input.data(), input.size(), &props,
                           coded_props, &coded_props_size, 0, nullptr, &g_Alloc, &g_Alloc);
  if (result != SZ_OK) return Failed("LzmaEncode", result);
  if (packed_size >= input.size()) return "LzmaEncode did not make the data smaller";

  std::vector<unsigned char> output(input.size());
  SizeT output_size = output.size();
  SizeT consumed = packed_size;
  ELzmaStatus status;
  result = LzmaDecode(output.data(), &output_size, packed.data(), &consumed, coded_props,
                      static_cast<unsigned>(coded_props_size), LZMA_FINISH_END, &status, &g_Alloc);
  if (result != SZ_OK) return Failed("LzmaDecode", result);
  if (output_size != input.size() || output != input) return "the round trip changed the data";
  // Corrupted input must fail cleanly, with no write past the output.
  packed[packed_size / 2] ^= 0x55;
  output_size = output.size();
  consumed = packed_size;
  result = LzmaDecode(output.data(), &output_size, packed.data(), &consumed, coded_props,
                      static_cast<unsigned>(coded_props_size), LZMA_FINISH_END, &status, &g_Alloc);
  if (result == SZ_OK && output == input) return "LzmaDecode did not notice corrupted data";
  return {};
}

std::string CheckLzma2() {
  const std::vector<unsigned char> input = SampleData();
  CLzma2EncHandle encoder = Lzma2Enc_Create(&g_Alloc, &g_Alloc);
  if (encoder == nullptr) return "Lzma2Enc_Create failed";
  CLzma2EncProps props;
  Lzma2EncProps_Init(&props);
  props.lzmaProps.level = 5;
  props.lzmaProps.dictSize = kDictionarySize;
  SRes result = Lzma2Enc_SetProps(encoder, &props);
  const Byte coded_props = Lzma2Enc_WriteProperties(encoder);
  std::vector<unsigned char> packed(input.size() + input.size() / 3 + 128);
  size_t packed_size = packed.size();
  if (result == SZ_OK) {
    result = Lzma2Enc_Encode2(encoder, nullptr, packed.data(), &packed_size, nullptr, input.data(),
                              input.size(), nullptr);
  }
  Lzma2Enc_Destroy(encoder);
  if (result != SZ_OK) return Failed("Lzma2Enc_Encode2", result);

  std::vector<unsigned char> output(input.size());
  SizeT output_size = output.size();
  SizeT consumed = packed_size;
  ELzmaStatus status;
  result = Lzma2Decode(output.data(), &output_size, packed.data(), &consumed, coded_props,
                       LZMA_FINISH_END, &status, &g_Alloc);
  if (result != SZ_OK) return Failed("Lzma2Decode", result);
  if (output_size != input.size() || output != input) return "the round trip changed the data";
  return {};
}

std::string CheckPpmd7() {
  const std::vector<unsigned char> input = SampleData();
  std::vector<unsigned char> packed;
  ByteSink sink{{WriteByte}, &packed};
  CPpmd7 model;
  Ppmd7_Construct(&model);
  if (!Ppmd7_Alloc(&model, kPpmdMemory, &g_Alloc)) return "Ppmd7_Alloc failed";
  model.rc.enc.Stream = &sink.vt;
  Ppmd7z_Init_RangeEnc(&model);
  Ppmd7_Init(&model, kPpmdOrder);
  Ppmd7z_EncodeSymbols(&model, input.data(), input.data() + input.size());
  Ppmd7z_Flush_RangeEnc(&model);
  if (packed.size() >= input.size()) {
    Ppmd7_Free(&model, &g_Alloc);
    return "the PPMd encoder did not make the data smaller";
  }

  ByteSource source{{ReadByte}, &packed, 0, false};
  model.rc.dec.Stream = &source.vt;
  std::vector<unsigned char> output;
  bool started = Ppmd7z_RangeDec_Init(&model.rc.dec);
  Ppmd7_Init(&model, kPpmdOrder);
  while (started && output.size() < input.size()) {
    const int symbol = Ppmd7z_DecodeSymbol(&model);
    if (symbol < 0) break;
    output.push_back(static_cast<unsigned char>(symbol));
  }
  const bool finished = Ppmd7z_RangeDec_IsFinishedOK(&model.rc.dec);
  Ppmd7_Free(&model, &g_Alloc);
  if (!started) return "Ppmd7z_RangeDec_Init refused the encoder's output";
  if (output != input) return "the round trip changed the data";
  if (!finished || source.overrun) return "the range decoder did not end where the encoder did";
  return {};
}

}  // namespace vorn::smoke
