#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "package/block_codec.h"
#include "package/lzma_stream.h"
#include "package/lzo_stream.h"
#include "package/package_encoders.h"
#include "support/package_test_support.h"

namespace vorn {
namespace {

using test::Bytes;

// Readers are made as the installer makes them, without encoders.
std::unique_ptr<BlockStream> MakeStream(PackMethod method,
                                        const PackageEncoders* encoders = nullptr) {
  if (method == kMethodLzo) return std::make_unique<LZOStream>(encoders);
  return std::make_unique<LZMAStream>(method, encoders);
}

// Codes `content` the way the package tool does; returns the entry's data.
Bytes Encode(PackMethod method, const Bytes& content, uint32_t block_size,
             BlockStream::Mode mode = BlockStream::kWriting) {
  test::GrowingStream sink;
  auto stream = MakeStream(method, &kPackageEncoders);
  EXPECT_EQ(stream->Init(&sink, 0, 0, mode, block_size), kOk);
  size_t done = 0;
  while (done < content.size()) {  // uneven writes across block edges
    const size_t part = std::min<size_t>(content.size() - done, 1 + done % 7777);
    EXPECT_EQ(stream->Write(content.data() + done, uint32_t(part)), kOk);
    done += part;
  }
  EXPECT_EQ(stream->Flush(0), kOk);
  EXPECT_EQ(stream->PackedSize(), sink.Data().size());
  return sink.Data();
}

// The entry's data with the next entry's bytes behind it.
struct Source {
  Bytes data;
  MemoryStream stream;
  explicit Source(const Bytes& packed) : data(packed) {
    data.insert(data.end(), 64, 0x5A);
    stream.Open(data.data(), data.size(), MemoryStream::kReading);
  }
};

Result Decode(PackMethod method, const Bytes& packed, uint64_t unpacked, Bytes& out,
              uint32_t chunk = 65536) {
  Source source(packed);
  auto stream = MakeStream(method);
  Result result = stream->Init(&source.stream, packed.size(), unpacked);
  if (result != kOk) return result;
  return test::ReadToEnd(*stream, out, chunk);
}

class BlockMethodTest : public ::testing::TestWithParam<PackMethod> {};

TEST_P(BlockMethodTest, RoundTripsMixedContentOverManyBlocks) {
  Bytes content = test::TextLike(150000, 7);
  const Bytes binary = test::BinaryLike(100000, 7);
  content.insert(content.end(), binary.begin(), binary.end());
  const Bytes noise = test::Noise(20000, 7);  // incompressible: stored blocks
  content.insert(content.end(), noise.begin(), noise.end());
  const Bytes packed = Encode(GetParam(), content, 16384);
  EXPECT_LT(packed.size(), content.size());
  Bytes out;
  ASSERT_EQ(Decode(GetParam(), packed, content.size(), out, 1000), kOk);
  EXPECT_EQ(out, content);
}

TEST_P(BlockMethodTest, StreamWithoutEncodersRefusesToWriteAndStillReads) {
  const Bytes content = test::TextLike(30000, 3);
  const Bytes packed = Encode(GetParam(), content, 8192);
  auto stream = MakeStream(GetParam());
  test::GrowingStream sink;
  for (BlockStream::Mode mode : {BlockStream::kWriting, BlockStream::kWritingBest}) {
    EXPECT_EQ(stream->Init(&sink, 0, 0, mode), kNotSupported);
    const uint8_t byte = 1;
    EXPECT_EQ(stream->Write(&byte, 1), kNotOpen);
  }
  EXPECT_TRUE(sink.Data().empty());
  Source source(packed);
  ASSERT_EQ(stream->Init(&source.stream, packed.size(), content.size()), kOk);
  Bytes out;
  ASSERT_EQ(test::ReadToEnd(*stream, out, 5000), kOk);
  EXPECT_EQ(out, content);
}

TEST_P(BlockMethodTest, EmptyEntryReadsNothing) {
  const Bytes packed = Encode(GetParam(), {}, 0);
  Source source(packed);
  auto stream = MakeStream(GetParam());
  ASSERT_EQ(stream->Init(&source.stream, packed.size(), 0), kOk);
  EXPECT_TRUE(stream->IsAtEnd());
  uint8_t byte;
  EXPECT_EQ(stream->Read(&byte, 1), kEndOfData);
}

TEST_P(BlockMethodTest, SeekIsNotSupported) {
  const Bytes packed = Encode(GetParam(), test::TextLike(100), 0);
  Source source(packed);
  auto stream = MakeStream(GetParam());
  ASSERT_EQ(stream->Init(&source.stream, packed.size(), 100), kOk);
  EXPECT_EQ(stream->Seek(0), kNotSupported);
  EXPECT_EQ(stream->Seek(50), kNotSupported);
}

TEST_P(BlockMethodTest, BlockShorterThanItsDeclaredLengthFailsWith7) {
  const Bytes content = test::TextLike(3000);
  Bytes packed = Encode(GetParam(), content, 0);
  // One coded block: raise its unpacked length (a 2-byte number). PPMd has
  // no end marker and decodes a few extra symbols from a finished range
  // coder, so the claim is raised far enough to run it out of input.
  const size_t head = GetParam() == kMethodLzo ? 0 : kPropertiesSize;
  ASSERT_EQ(packed[head + 1] & 0x80, 0);
  uint32_t length = (packed[head] & 0x7F) | packed[head + 1] << 7;
  ASSERT_EQ(length, content.size());
  length += 1000;
  packed[head] = uint8_t(0x80 | (length & 0x7F));
  packed[head + 1] = uint8_t(length >> 7);
  Bytes out;
  EXPECT_EQ(Decode(GetParam(), packed, length, out), kFailed);
}

TEST_P(BlockMethodTest, CorruptBlockDataNeverSucceedsSilently) {
  const Bytes content = test::TextLike(20000, 3);
  const Bytes packed = Encode(GetParam(), content, 0);
  const size_t head = GetParam() == kMethodLzo ? 0 : kPropertiesSize;
  int failures = 0;
  for (size_t at = head + 4; at < packed.size(); at += 97) {
    Bytes broken = packed;
    broken[at] ^= 0x5A;
    Bytes out;
    const Result result = Decode(GetParam(), broken, content.size(), out);
    if (result != kOk) {
      EXPECT_EQ(result, kFailed) << "byte " << at;
      ++failures;
    }
  }
  EXPECT_GT(failures, 0);
}

TEST_P(BlockMethodTest, LengthsBeyondTheEntryFailBeforeAnyAllocation) {
  const size_t head = GetParam() == kMethodLzo ? 0 : kPropertiesSize;
  Bytes packed = Encode(GetParam(), test::TextLike(100), 0);
  packed.resize(head);
  // Unpacked length 0xFFFFFFF0 in an entry of 100 bytes.
  uint8_t lengths[10];
  uint32_t n = EncodeVarUInt(0xFFFFFFF0u, lengths);
  n += EncodeVarUInt(10, lengths + n);
  Bytes huge = packed;
  huge.insert(huge.end(), lengths, lengths + n);
  huge.insert(huge.end(), 10, 0);
  Bytes out;
  EXPECT_EQ(Decode(GetParam(), huge, 100, out), kFailed);
  // Packed length past the entry's packed size.
  n = EncodeVarUInt(100, lengths);
  n += EncodeVarUInt(0x7FFFFFFF, lengths + n);
  Bytes long_packed = packed;
  long_packed.insert(long_packed.end(), lengths, lengths + n);
  long_packed.insert(long_packed.end(), 10, 0);
  EXPECT_EQ(Decode(GetParam(), long_packed, 100, out), kFailed);
  // A stored block whose raw bytes would run past the entry.
  n = EncodeVarUInt(100, lengths);
  n += EncodeVarUInt(0, lengths + n);
  Bytes long_stored = packed;
  long_stored.insert(long_stored.end(), lengths, lengths + n);
  long_stored.insert(long_stored.end(), 50, 0);
  EXPECT_EQ(Decode(GetParam(), long_stored, 100, out), kFailed);
  // A length of more than 32 bits.
  const uint8_t overlong[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x01};
  Bytes wide = packed;
  wide.insert(wide.end(), overlong, overlong + sizeof(overlong));
  EXPECT_EQ(Decode(GetParam(), wide, 100, out), kFailed);
}

TEST_P(BlockMethodTest, SourceEndingInsideABlockGivesItsEndOfData) {
  const Bytes content = test::TextLike(5000);
  Bytes packed = Encode(GetParam(), content, 0);
  const uint64_t declared = packed.size();
  packed.resize(packed.size() - 10);
  MemoryStream source(packed.data(), packed.size());
  auto stream = MakeStream(GetParam());
  ASSERT_EQ(stream->Init(&source, declared, content.size()), kOk);
  Bytes out(content.size());
  EXPECT_EQ(stream->Read(out.data(), uint32_t(out.size())), kEndOfData);
  // The stream stays failed until initialised again.
  EXPECT_NE(stream->Read(out.data(), 1), kOk);
}

TEST_P(BlockMethodTest, ReadingPastTheUnpackedSizeDecodesNothing) {
  const Bytes content = test::TextLike(500);
  const Bytes packed = Encode(GetParam(), content, 0);
  Source source(packed);
  auto stream = MakeStream(GetParam());
  ASSERT_EQ(stream->Init(&source.stream, packed.size(), content.size()), kOk);
  Bytes out(content.size() + 1);
  EXPECT_EQ(stream->Read(out.data(), uint32_t(out.size())), kEndOfData);
  EXPECT_EQ(stream->Position(), 0u);
  ASSERT_EQ(stream->Read(out.data(), uint32_t(content.size())), kOk);
  EXPECT_TRUE(std::equal(content.begin(), content.end(), out.begin()));
}

std::string CoderName(const ::testing::TestParamInfo<PackMethod>& info) {
  static const char* const kNames[] = {"", "", "Lzo", "Lzma", "Ppmd", "Lzma2"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(Coders, BlockMethodTest,
                         ::testing::Values(kMethodLzo, kMethodLzma, kMethodPpmd, kMethodLzma2),
                         CoderName);

TEST(BlockFramingTest, LengthsAreShortestBase128) {
  uint8_t bytes[5];
  ASSERT_EQ(EncodeVarUInt(300, bytes), 2u);
  EXPECT_EQ(bytes[0], 0xAC);
  EXPECT_EQ(bytes[1], 0x02);
  ASSERT_EQ(EncodeVarUInt(196608, bytes), 3u);
  EXPECT_EQ(bytes[0], 0x80);
  EXPECT_EQ(bytes[1], 0x80);
  EXPECT_EQ(bytes[2], 0x0C);
  EXPECT_EQ(EncodeVarUInt(0, bytes), 1u);
  EXPECT_EQ(EncodeVarUInt(0xFFFFFFFFu, bytes), 5u);
  EXPECT_EQ(bytes[4], 0x0F);
}

TEST(BlockFramingTest, StoredBlocksAreCopiedRaw) {
  const Bytes raw = test::Noise(300);
  Bytes packed = {0xAC, 0x02, 0x00};
  packed.insert(packed.end(), raw.begin(), raw.end());
  Bytes out;
  ASSERT_EQ(Decode(kMethodLzo, packed, raw.size(), out), kOk);
  EXPECT_EQ(out, raw);
  // The same behind LZMA properties.
  Bytes with_properties = {0x5D, 0x00, 0x00, 0x01, 0x00};
  with_properties.insert(with_properties.end(), packed.begin(), packed.end());
  ASSERT_EQ(Decode(kMethodLzma, with_properties, raw.size(), out), kOk);
  EXPECT_EQ(out, raw);
}

TEST(LZMAStreamTest, OneBlockEntryOf196608BytesIsOneCoderRun) {
  const Bytes content = test::BinaryLike(196608, 5);
  const Bytes packed = Encode(kMethodLzma, content, ArchiveWriter::kPackageBlockSize);
  ASSERT_GT(packed.size(), 8u);
  EXPECT_EQ(packed[5], 0x80);
  EXPECT_EQ(packed[6], 0x80);
  EXPECT_EQ(packed[7], 0x0C);
  Bytes out;
  ASSERT_EQ(Decode(kMethodLzma, packed, content.size(), out, 196608), kOk);
  EXPECT_EQ(out, content);
}

TEST(LZMAStreamTest, PackageBlocksSplitAt4MiB) {
  // Long runs keep level-9 coding quick.
  Bytes content(4316848);
  for (size_t i = 0; i < content.size(); ++i) content[i] = uint8_t((i / 4096) * 7);
  const Bytes packed = Encode(kMethodLzma, content, ArchiveWriter::kPackageBlockSize);
  // lc 8, lp 0, pb 0 and a 4 MiB dictionary, as in the installer's package.
  EXPECT_EQ(packed[0], 0x08);
  EXPECT_EQ(packed[1] | packed[2] << 8 | packed[3] << 16 | packed[4] << 24, 4 << 20);
  // Two blocks, of 4,194,304 and 122,544 bytes, and nothing after them.
  auto length = [&packed](size_t& at) {
    uint32_t value = 0;
    for (uint32_t shift = 0; at < packed.size(); shift += 7) {
      const uint8_t byte = packed[at++];
      value |= uint32_t(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) break;
    }
    return value;
  };
  size_t at = 5;
  EXPECT_EQ(length(at), 4194304u);
  uint32_t coded = length(at);
  at += coded != 0 ? coded : 4194304;
  EXPECT_EQ(length(at), 122544u);
  coded = length(at);
  at += coded != 0 ? coded : 122544;
  EXPECT_EQ(at, packed.size());
  Bytes out;
  ASSERT_EQ(Decode(kMethodLzma, packed, content.size(), out, 1 << 20), kOk);
  EXPECT_EQ(out, content);
}

TEST(LZMAStreamTest, RejectedPropertiesFailWith7) {
  const Bytes block = {0x05, 0x00, 'h', 'e', 'l', 'l', 'o'};
  struct Case {
    PackMethod method;
    Bytes properties;
  };
  const Case cases[] = {
      {kMethodLzma, {225, 0, 0, 1, 0}},            // pb of 5
      {kMethodPpmd, {1, 0, 0, 0, 1}},              // order below 2
      {kMethodPpmd, {65, 0, 0, 0, 1}},             // order above 64
      {kMethodPpmd, {6, 0xFF, 0xFF, 0xFF, 0xFF}},  // 4 GiB of model memory
      {kMethodLzma2, {41, 0, 0, 0, 0}},            // no such dictionary
  };
  for (const Case& c : cases) {
    Bytes packed = c.properties;
    packed.insert(packed.end(), block.begin(), block.end());
    Source source(packed);
    LZMAStream stream(c.method);
    EXPECT_EQ(stream.Init(&source.stream, packed.size(), 5), kFailed) << int(c.properties[0]);
  }
}

TEST(LZMAStreamTest, LzmaAcceptsLiteralContextOf8) {
  const Bytes content = test::TextLike(10000);
  const Bytes packed = Encode(kMethodLzma, content, 0);
  EXPECT_EQ(packed[0], 0x08);
  Bytes out;
  ASSERT_EQ(Decode(kMethodLzma, packed, content.size(), out), kOk);
  EXPECT_EQ(out, content);
}

TEST(LZMAStreamTest, PropertiesMatchThePackageSettings) {
  std::unique_ptr<BlockEncoder> ppmd(NewBlockEncoder(kMethodPpmd, 0));
  uint8_t properties[5];
  ppmd->Properties(properties);
  EXPECT_EQ(properties[0], 32);
  EXPECT_EQ(properties[1] | properties[2] << 8 | properties[3] << 16 | properties[4] << 24,
            0x0C000000);
  std::unique_ptr<BlockEncoder> lzma2(NewBlockEncoder(kMethodLzma2, 1 << 20));
  lzma2->Properties(properties);
  EXPECT_LE(properties[0], 40);
  EXPECT_EQ(properties[1] | properties[2] | properties[3] | properties[4], 0);
}

TEST(LZMAStreamTest, DescribesPackedAndUnpackedSizes) {
  const Bytes packed = Encode(kMethodPpmd, test::TextLike(1000), 0);
  Source source(packed);
  LZMAStream stream(kMethodPpmd);
  ASSERT_EQ(stream.Init(&source.stream, packed.size(), 1000), kOk);
  EXPECT_EQ(test::Utf8(stream.Describe()),
            "LZMAStream(" + std::to_string(packed.size()) + " packed,1000 unpacked)");
  LZOStream lzo;
  EXPECT_EQ(test::Utf8(lzo.Describe()), "LZOStream(0 packed,0 unpacked)");
  uint8_t byte;
  EXPECT_EQ(lzo.Read(&byte, 1), kNotOpen);
  EXPECT_EQ(lzo.Flush(0), kNotOpen);
  EXPECT_EQ(lzo.Init(nullptr, 1, 1), kInvalidArgument);
}

TEST(LZOStreamTest, BestModeIsSmallerAndReadsTheSame) {
  const Bytes content = test::TextLike(200000, 9);
  const Bytes fast = Encode(kMethodLzo, content, 0, BlockStream::kWriting);
  const Bytes best = Encode(kMethodLzo, content, 0, BlockStream::kWritingBest);
  EXPECT_LT(best.size(), fast.size());
  Bytes out;
  ASSERT_EQ(Decode(kMethodLzo, best, content.size(), out), kOk);
  EXPECT_EQ(out, content);
}

TEST(BlockCodecTest, FramedBlocksDependOnlyOnTheirInput) {
  const Bytes content = test::TextLike(50000, 11);
  for (PackMethod method : {kMethodLzo, kMethodLzma, kMethodPpmd, kMethodLzma2}) {
    std::unique_ptr<BlockEncoder> a(NewBlockEncoder(method, 65536));
    std::unique_ptr<BlockEncoder> b(NewBlockEncoder(method, 65536));
    Bytes first(FramedBlockBound(*a, uint32_t(content.size())));
    Bytes second(first.size());
    Bytes other(first.size());
    uint32_t first_size = 0, second_size = 0, other_size = 0;
    // The encoder that coded something else first gives the same bytes.
    const Bytes warmup = test::BinaryLike(30000, 2);
    ASSERT_EQ(
        EncodeFramedBlock(*b, warmup.data(), uint32_t(warmup.size()), other.data(), other_size),
        kOk);
    ASSERT_EQ(
        EncodeFramedBlock(*a, content.data(), uint32_t(content.size()), first.data(), first_size),
        kOk);
    ASSERT_EQ(
        EncodeFramedBlock(*b, content.data(), uint32_t(content.size()), second.data(), second_size),
        kOk);
    ASSERT_EQ(first_size, second_size) << method;
    EXPECT_EQ(std::memcmp(first.data(), second.data(), first_size), 0) << method;
  }
}

}  // namespace
}  // namespace vorn
