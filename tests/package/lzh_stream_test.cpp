#include "package/lzh_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "package/package_encoders.h"
#include "support/package_test_support.h"

namespace vorn {
namespace {

using test::Bytes;

Bytes Deflate(const Bytes& content, int level = 9) {
  uLongf size = compressBound(uLong(content.size()));
  Bytes out(size);
  compress2(out.data(), &size, content.data(), uLong(content.size()), level);
  out.resize(size);
  return out;
}

// The entry's data followed by the next entry's bytes, which the decoder
// must never touch.
struct Entry {
  Bytes data;
  MemoryStream source;
  explicit Entry(const Bytes& packed) : data(packed) {
    data.insert(data.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    source.Open(data.data(), data.size(), MemoryStream::kReading);
  }
};

TEST(LZHStreamTest, DecodesTheWholeEntryAndNotOneByteMore) {
  const Bytes content = test::TextLike(100000);
  const Bytes packed = Deflate(content);
  Entry entry(packed);
  LZHStream stream;
  ASSERT_EQ(stream.Init(&entry.source, packed.size(), content.size()), kOk);
  Bytes out(content.size());
  ASSERT_EQ(stream.Read(out.data(), uint32_t(out.size())), kOk);
  EXPECT_EQ(out, content);
  EXPECT_TRUE(stream.IsAtEnd());
  uint8_t byte;
  EXPECT_EQ(stream.Read(&byte, 1), kEndOfData);
  EXPECT_EQ(entry.source.Position(), packed.size());
}

TEST(LZHStreamTest, ManySmallReadsMatchOneLargeRead) {
  const Bytes content = test::BinaryLike(70000);
  const Bytes packed = Deflate(content, 6);
  Entry entry(packed);
  LZHStream stream;
  ASSERT_EQ(stream.Init(&entry.source, packed.size(), content.size()), kOk);
  Bytes out;
  ASSERT_EQ(test::ReadToEnd(stream, out, 3), kOk);
  EXPECT_EQ(out, content);
}

TEST(LZHStreamTest, StoredDeflateBlocksDecodeLikeAnyOther) {
  const Bytes content = test::Noise(5000);
  const Bytes packed = Deflate(content, 0);
  Entry entry(packed);
  LZHStream stream;
  ASSERT_EQ(stream.Init(&entry.source, packed.size(), content.size()), kOk);
  Bytes out(content.size());
  ASSERT_EQ(stream.Read(out.data(), uint32_t(out.size())), kOk);
  EXPECT_EQ(out, content);
}

TEST(LZHStreamTest, TruncatedEntryFailsOnTheReadThatNeedsTheMissingData) {
  const Bytes content = test::Noise(50000);
  Bytes packed = Deflate(content);
  const uint64_t truncated = packed.size() / 2;
  Entry entry(packed);
  LZHStream stream;
  ASSERT_EQ(stream.Init(&entry.source, truncated, content.size()), kOk);
  Bytes out(1000);
  ASSERT_EQ(stream.Read(out.data(), 1000), kOk);
  Bytes rest(content.size() - 1000);
  EXPECT_EQ(stream.Read(rest.data(), uint32_t(rest.size())), kEndOfData);
  EXPECT_LE(entry.source.Position(), truncated);
}

TEST(LZHStreamTest, StreamEndingBeforeTheDeclaredSizeIsNotASuccess) {
  const Bytes content = test::TextLike(1000);
  const Bytes packed = Deflate(content);
  Entry entry(packed);
  LZHStream stream;
  ASSERT_EQ(stream.Init(&entry.source, packed.size(), content.size() + 10), kOk);
  Bytes out(content.size() + 10);
  EXPECT_EQ(stream.Read(out.data(), uint32_t(out.size())), kEndOfData);
}

TEST(LZHStreamTest, CorruptDataAndMisuseGiveTheirCodes) {
  const Bytes content = test::TextLike(5000);
  Bytes packed = Deflate(content);
  packed[0] = 0x00;  // not a zlib header
  Entry entry(packed);
  LZHStream stream;
  ASSERT_EQ(stream.Init(&entry.source, packed.size(), content.size()), kOk);
  Bytes out(content.size());
  EXPECT_EQ(stream.Read(out.data(), uint32_t(out.size())), kNullInput);
  EXPECT_EQ(stream.Seek(0), kNotSupported);
  EXPECT_EQ(stream.Seek(stream.Position()), kNotSupported);

  LZHStream unopened;
  EXPECT_EQ(unopened.Init(nullptr, 1, 1), kInvalidArgument);
  EXPECT_EQ(unopened.Read(out.data(), 1), kNotOpen);
  EXPECT_EQ(unopened.Flush(0), kNotOpen);
  LZHStream idle;
  ASSERT_EQ(idle.Init(&entry.source, 1, 1), kOk);
  EXPECT_EQ(idle.Flush(0), kNotSupported);
  EXPECT_EQ(idle.Read(nullptr, 1), kNullInput);
  EXPECT_EQ(test::Utf8(idle.Describe()), "LZHStream(1 packed,1 unpacked)");
}

TEST(LZHStreamTest, StreamWithoutEncodersRefusesToWriteAndStillReads) {
  const Bytes content = test::TextLike(5000);
  const Bytes packed = Deflate(content);
  test::GrowingStream sink;
  LZHStream stream;
  ASSERT_EQ(stream.Init(&sink, 0, 0), kOk);
  EXPECT_EQ(stream.Write(content.data(), 100), kNotSupported);
  EXPECT_EQ(stream.Flush(0), kNotSupported);
  EXPECT_TRUE(sink.Data().empty());
  Entry entry(packed);
  ASSERT_EQ(stream.Init(&entry.source, packed.size(), content.size()), kOk);
  Bytes out(content.size());
  ASSERT_EQ(stream.Read(out.data(), uint32_t(out.size())), kOk);
  EXPECT_EQ(out, content);
}

TEST(LZHStreamTest, DeflatesOnWriteForThePackageTool) {
  const Bytes content = test::TextLike(200000);
  test::GrowingStream sink;
  LZHStream writer(&kPackageEncoders);
  ASSERT_EQ(writer.Init(&sink, 0, 0), kOk);
  ASSERT_EQ(writer.Write(content.data(), 123), kOk);
  ASSERT_EQ(writer.Write(content.data() + 123, uint32_t(content.size() - 123)), kOk);
  ASSERT_EQ(writer.Flush(0), kOk);
  EXPECT_EQ(writer.PackedSize(), sink.Data().size());
  EXPECT_EQ(writer.Size(), content.size());
  Bytes out(content.size());
  uLongf size = uLongf(out.size());
  ASSERT_EQ(uncompress(out.data(), &size, sink.Data().data(), uLong(sink.Data().size())), Z_OK);
  EXPECT_EQ(out, content);
}

}  // namespace
}  // namespace vorn
