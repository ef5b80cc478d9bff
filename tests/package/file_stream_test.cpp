#include "package/file_stream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "package/cache_layer.h"
#include "support/package_test_support.h"

namespace vorn {
namespace {

using test::Bytes;

class FileStreamTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
};

TEST_F(FileStreamTest, ReadsInSlicesAndFailsAtTheEndAfterCopyingTheRest) {
  const Bytes content = test::Noise(100);
  folder_.WriteFile("hundred.bin", content);
  FileStream stream;
  ASSERT_EQ(stream.OpenForReading(folder_.Path(u"hundred.bin").c_str()), kOk);
  EXPECT_EQ(stream.Size(), 100u);
  uint8_t out[30];
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(stream.Read(out, 30), kOk);
    EXPECT_EQ(std::memcmp(out, content.data() + 30 * i, 30), 0);
  }
  std::memset(out, 0, sizeof(out));
  EXPECT_EQ(stream.Read(out, 30), kEndOfData);
  EXPECT_EQ(std::memcmp(out, content.data() + 90, 10), 0);
  EXPECT_EQ(stream.Position(), 100u);
  EXPECT_TRUE(stream.IsAtEnd());
}

TEST_F(FileStreamTest, DescribesItsLayers) {
  folder_.WriteFile("a.txt", {1});
  FileStream stream;
  const std::u16string path = folder_.Path(u"a.txt");
  ASSERT_EQ(stream.OpenForReading(path.c_str()), kOk);
  const std::string expected = "File(Cache(16384,\"" + test::Utf8(String(path.c_str())) + "\"))";
  EXPECT_EQ(test::Utf8(stream.Describe()), expected);
}

TEST_F(FileStreamTest, UnopenedAndMissingFilesGiveClearCodes) {
  FileStream stream;
  uint8_t byte;
  EXPECT_EQ(stream.Read(&byte, 1), kNotOpen);
  EXPECT_EQ(stream.Write(&byte, 1), kNotOpen);
  EXPECT_EQ(stream.Seek(0), kNotOpen);
  EXPECT_EQ(stream.Close(), kNotOpen);
  EXPECT_EQ(stream.Position(), uint64_t{kNotOpen});
  EXPECT_EQ(stream.Size(), uint64_t{kNotOpen});
  EXPECT_EQ(stream.SetModificationTime(DateTime(0)), kNotOpen);
  EXPECT_EQ(stream.OpenForReading(nullptr), kInvalidName);
  EXPECT_EQ(stream.OpenForReading(u""), kInvalidName);
  EXPECT_EQ(stream.OpenForReading(folder_.Path(u"missing.bin").c_str()), kNotFound);
  EXPECT_FALSE(stream.IsOpen());
}

TEST_F(FileStreamTest, WritingTruncatesAndRoundTrips) {
  folder_.WriteFile("out.bin", test::Noise(5000));
  const Bytes content = test::TextLike(40000);
  {
    FileStream stream;
    ASSERT_EQ(stream.OpenForWriting(folder_.Path(u"out.bin").c_str()), kOk);
    EXPECT_EQ(stream.Size(), 0u);
    // Small, large and middle-sized writes take different paths.
    ASSERT_EQ(stream.Write(content.data(), 10), kOk);
    ASSERT_EQ(stream.Write(content.data() + 10, 20000), kOk);
    ASSERT_EQ(stream.Write(content.data() + 20010, 9000), kOk);
    ASSERT_EQ(stream.Write(content.data() + 29010, uint32_t(content.size() - 29010)), kOk);
    EXPECT_EQ(stream.Size(), content.size());
    EXPECT_EQ(stream.Flush(1), kOk);
  }
  EXPECT_EQ(folder_.ReadFile("out.bin"), content);
}

TEST_F(FileStreamTest, SeekingBeyondTheEndOfAReadFileFailsOnTheNextRead) {
  folder_.WriteFile("small.bin", test::Noise(64));
  FileStream stream;
  ASSERT_EQ(stream.OpenForReading(folder_.Path(u"small.bin").c_str()), kOk);
  // The cache never checks a seek; the next transfer does.
  EXPECT_EQ(stream.Seek(1000), kOk);
  uint8_t byte;
  EXPECT_EQ(stream.Read(&byte, 1), kEndOfData);
  EXPECT_EQ(stream.Seek(63), kOk);
  EXPECT_EQ(stream.Read(&byte, 1), kOk);
}

TEST_F(FileStreamTest, SetsTheModificationTime) {
  FileStream stream;
  ASSERT_EQ(stream.OpenForWriting(folder_.Path(u"dated.bin").c_str()), kOk);
  ASSERT_EQ(stream.Write("x", 1), kOk);
  // 2016-01-17 12:00:00 UTC.
  const DateTime when = DateTime::FromUnixTime(1453032000, 0);
  EXPECT_EQ(stream.SetModificationTime(when), kOk);
  EXPECT_EQ(stream.Close(), kOk);
  EXPECT_EQ(folder_.ReadFile("dated.bin"), Bytes{'x'});
}

// The cache layer over a recorded memory stream: which transfers reach the
// inner stream.
class CacheLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    content_ = test::Noise(100000);
    memory_.Open(content_.data(), content_.size(), MemoryStream::kReading);
    ASSERT_EQ(cache_.Attach(&recorder_), kOk);
  }

  Bytes content_;
  MemoryStream memory_;
  test::RecordingStream recorder_{memory_};
  CacheLayer cache_;
};

TEST_F(CacheLayerTest, ChoosesBetweenWindowAndDirectReads) {
  Bytes out(20000);
  // An empty window takes up to its capacity.
  ASSERT_EQ(cache_.Read(out.data(), 9000), kOk);
  ASSERT_EQ(recorder_.reads, std::vector<uint32_t>{CacheLayer::kCapacity});
  EXPECT_EQ(std::memcmp(out.data(), content_.data(), 9000), 0);
  // Once it holds data, 9,000 bytes not inside it go straight through.
  ASSERT_EQ(cache_.Read(out.data(), 9000), kOk);
  EXPECT_EQ(recorder_.reads.back(), 9000u);
  EXPECT_EQ(std::memcmp(out.data(), content_.data() + 9000, 9000), 0);
  EXPECT_EQ(cache_.Position(), 18000u);
  // Small reads come from the window.
  const size_t before = recorder_.reads.size();
  ASSERT_EQ(cache_.Seek(100), kOk);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(cache_.Read(out.data() + i * 4, 4), kOk);
  EXPECT_EQ(recorder_.reads.size(), before);
  EXPECT_EQ(std::memcmp(out.data(), content_.data() + 100, 400), 0);
}

TEST_F(CacheLayerTest, LargeReadsOnAFreshLayerBypassTheWindow) {
  Bytes out(20000);
  ASSERT_EQ(cache_.Read(out.data(), 20000), kOk);
  EXPECT_EQ(recorder_.reads, std::vector<uint32_t>{20000});
  EXPECT_EQ(std::memcmp(out.data(), content_.data(), 20000), 0);
  EXPECT_EQ(cache_.Position(), 20000u);
}

TEST_F(CacheLayerTest, SmallReadsAcrossWindowsStitchTogether) {
  Bytes all;
  uint8_t piece[7];
  while (cache_.Position() + 7 <= content_.size()) {
    ASSERT_EQ(cache_.Read(piece, 7), kOk);
    all.insert(all.end(), piece, piece + 7);
  }
  EXPECT_TRUE(std::equal(all.begin(), all.end(), content_.begin()));
  EXPECT_EQ(cache_.Read(piece, 7), kEndOfData);
}

TEST_F(CacheLayerTest, DescribesCapacityAndInnerStream) {
  CacheLayer detached;
  EXPECT_EQ(test::Utf8(detached.Describe()), "Cache(16384,n/a)");
  uint8_t byte;
  EXPECT_EQ(detached.Read(&byte, 1), kNullOutput);
  EXPECT_EQ(detached.Size(), 0u);
}

TEST(CacheLayerWriteTest, CoalescesOverlappingSmallWritesIntoOne) {
  test::GrowingStream file;
  test::RecordingStream recorder(file);
  CacheLayer cache;
  ASSERT_EQ(cache.Attach(&recorder), kOk);
  ASSERT_EQ(cache.Write("abc", 3), kOk);
  ASSERT_EQ(cache.Seek(2), kOk);
  ASSERT_EQ(cache.Write("Z", 1), kOk);
  EXPECT_TRUE(recorder.writes.empty());
  EXPECT_EQ(cache.Size(), 3u);
  ASSERT_EQ(cache.Flush(0), kOk);
  EXPECT_EQ(recorder.writes, std::vector<uint32_t>{3});
  EXPECT_EQ(file.Data(), (Bytes{'a', 'b', 'Z'}));
}

TEST(CacheLayerWriteTest, RewritingEarlierBytesThenAppendingKeepsEverything) {
  test::GrowingStream file;
  CacheLayer cache;
  ASSERT_EQ(cache.Attach(&file), kOk);
  const Bytes content = test::Noise(50000, 3);
  // Fill past several windows, rewrite a header at 0, append at the end,
  // as the archive writer does.
  ASSERT_EQ(cache.Write(content.data(), 5000), kOk);
  ASSERT_EQ(cache.Write(content.data() + 5000, 30000), kOk);
  ASSERT_EQ(cache.Write(content.data() + 35000, 15000), kOk);
  ASSERT_EQ(cache.Seek(0), kOk);
  ASSERT_EQ(cache.Write("HEAD", 4), kOk);
  ASSERT_EQ(cache.Seek(50000), kOk);
  ASSERT_EQ(cache.Write("TAIL", 4), kOk);
  ASSERT_EQ(cache.Flush(0), kOk);
  Bytes expected = content;
  std::memcpy(expected.data(), "HEAD", 4);
  expected.insert(expected.end(), {'T', 'A', 'I', 'L'});
  EXPECT_EQ(file.Data(), expected);
}

TEST(CacheLayerWriteTest, ReadAfterDirectWriteSeesTheNewBytes) {
  test::GrowingStream file;
  CacheLayer cache;
  ASSERT_EQ(cache.Attach(&file), kOk);
  Bytes zeros(20000, 0);
  ASSERT_EQ(cache.Write(zeros.data(), uint32_t(zeros.size())), kOk);
  uint8_t byte;
  ASSERT_EQ(cache.Seek(0), kOk);
  ASSERT_EQ(cache.Read(&byte, 1), kOk);  // the window now holds zeros
  // 9,000 bytes that do not lie inside the window go straight to the file.
  Bytes ones(9000, 1);
  ASSERT_EQ(cache.Seek(10000), kOk);
  ASSERT_EQ(cache.Write(ones.data(), uint32_t(ones.size())), kOk);
  ASSERT_EQ(cache.Seek(10001), kOk);
  ASSERT_EQ(cache.Read(&byte, 1), kOk);
  EXPECT_EQ(byte, 1);
}

TEST(CacheLayerWriteTest, CloseWritesPendingBytesAndClosesTheInnerStream) {
  test::TempFolder folder;
  FileHandleLayer handle;
  ASSERT_EQ(handle.OpenForWriting(folder.Path(u"c.bin").c_str()), kOk);
  {
    CacheLayer cache;
    ASSERT_EQ(cache.Attach(&handle), kOk);
    ASSERT_EQ(cache.Write("pending", 7), kOk);
    EXPECT_EQ(handle.Size(), 0u);
    EXPECT_EQ(cache.Close(), kOk);
  }
  EXPECT_FALSE(handle.IsOpen());
  EXPECT_EQ(folder.ReadFile("c.bin"), (Bytes{'p', 'e', 'n', 'd', 'i', 'n', 'g'}));
}

// A file copy closes its target last; bytes that never reached the file
// must make that Close fail, even after an earlier failure went unheeded.
TEST(CacheLayerWriteTest, BytesThatNeverReachedTheInnerStreamFailTheClose) {
  uint8_t room[10] = {};
  const Bytes content = test::TextLike(100);
  MemoryStream small(room, sizeof(room), MemoryStream::kWriting);
  CacheLayer cache;
  ASSERT_EQ(cache.Attach(&small), kOk);
  ASSERT_EQ(cache.Write(content.data(), 100), kOk);  // held in the window
  EXPECT_EQ(cache.Close(), kNoRoom);

  ASSERT_EQ(small.Open(room, sizeof(room), MemoryStream::kWriting), kOk);
  ASSERT_EQ(cache.Attach(&small), kOk);
  ASSERT_EQ(cache.Write(content.data(), 100), kOk);
  EXPECT_EQ(cache.Flush(0), kNoRoom);
  EXPECT_EQ(cache.Close(), kNoRoom);

  // A fresh start forgets the old failure.
  ASSERT_EQ(small.Open(room, sizeof(room), MemoryStream::kWriting), kOk);
  ASSERT_EQ(cache.Attach(&small), kOk);
  ASSERT_EQ(cache.Write(content.data(), 10), kOk);
  EXPECT_EQ(cache.Close(), kOk);
  EXPECT_EQ(std::memcmp(room, content.data(), 10), 0);
}

#ifndef _WIN32
// The same through a file stream on a full device: the date is set (and its
// failure ignored) before the close, as the file transfer does.
TEST(FileStreamFullDeviceTest, CloseReportsTheLostBytes) {
  FileStream stream;
  if (stream.OpenForWriting(u"/dev/full") != kOk) GTEST_SKIP() << "no /dev/full";
  ASSERT_EQ(stream.Write("last bytes", 10), kOk);
  EXPECT_EQ(stream.SetModificationTime(DateTime::FromUnixTime(1453032000, 0)), kDiskFull);
  EXPECT_EQ(stream.Close(), kDiskFull);
  EXPECT_FALSE(stream.IsOpen());
}
#endif

TEST(FileHandleLayerTest, FollowsTheStreamRules) {
  test::TempFolder folder;
  folder.WriteFile("h.bin", test::Noise(10));
  FileHandleLayer handle;
  uint8_t out[16];
  EXPECT_EQ(handle.Read(out, 1), kNotOpen);
  EXPECT_EQ(handle.Flush(1), kNotOpen);
  ASSERT_EQ(handle.OpenForReading(folder.Path(u"h.bin").c_str()), kOk);
  EXPECT_EQ(handle.Read(nullptr, 1), kNullInput);
  EXPECT_EQ(handle.Read(out, 11), kEndOfData);
  EXPECT_EQ(handle.Position(), 0u);
  EXPECT_EQ(handle.Seek(11), kIndexOutOfRange);
  EXPECT_EQ(handle.Seek(10), kOk);
  EXPECT_TRUE(handle.IsAtEnd());
  EXPECT_EQ(handle.Flush(1), kOk);  // nothing to force when reading
  EXPECT_EQ(handle.Close(), kOk);
  EXPECT_EQ(handle.Close(), kNotOpen);
  EXPECT_EQ(handle.Path().Length(), 0u);
}

// The size is taken when the file is opened; a file that shrinks under the
// reader delivers less than asked, and that is no success.
TEST(FileHandleLayerTest, AFileThatShrankFailsTheReadThatMissesBytes) {
  test::TempFolder folder;
  folder.WriteFile("shrinking.bin", test::Noise(100));
  FileHandleLayer reader;
  ASSERT_EQ(reader.OpenForReading(folder.Path(u"shrinking.bin").c_str()), kOk);
  {
    FileHandleLayer writer;  // truncates, as the reader shares writing
    ASSERT_EQ(writer.OpenForWriting(folder.Path(u"shrinking.bin").c_str()), kOk);
    ASSERT_EQ(writer.Write(test::Noise(40).data(), 40), kOk);
  }
  EXPECT_EQ(reader.Size(), 100u);
  uint8_t out[100];
  EXPECT_EQ(reader.Read(out, 100), kEndOfData);
  EXPECT_EQ(reader.Position(), 40u);
}

}  // namespace
}  // namespace vorn
