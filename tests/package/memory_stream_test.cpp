#include "package/memory_stream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/package_test_support.h"

namespace vorn {
namespace {

TEST(MemoryStreamTest, ReadsExactlyWhatItHoldsAndSeeksWithinCapacity) {
  uint8_t data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  MemoryStream stream(data, sizeof(data));
  uint8_t out[10] = {};
  EXPECT_EQ(stream.Read(out, 10), kOk);
  EXPECT_EQ(std::memcmp(out, data, 10), 0);
  EXPECT_TRUE(stream.IsAtEnd());
  uint8_t extra = 0xAA;
  EXPECT_EQ(stream.Read(&extra, 1), kEndOfData);
  EXPECT_EQ(extra, 0xAA);
  EXPECT_EQ(stream.Seek(10), kOk);
  EXPECT_EQ(stream.Seek(11), kIndexOutOfRange);
  EXPECT_EQ(stream.Seek(uint64_t{1} << 32), kIndexOutOfRange);
  EXPECT_EQ(stream.Position(), 10u);
  EXPECT_EQ(stream.Seek(3), kOk);
  EXPECT_EQ(stream.Read(out, 2), kOk);
  EXPECT_EQ(out[0], 3);
  EXPECT_EQ(out[1], 4);
}

TEST(MemoryStreamTest, WritingGrowsSizeUpToCapacityOnly) {
  uint8_t room[10] = {};
  MemoryStream stream(room, sizeof(room), MemoryStream::kWriting);
  EXPECT_EQ(stream.Size(), 0u);
  EXPECT_EQ(stream.Write("abcd", 4), kOk);
  EXPECT_EQ(stream.Seek(0), kOk);
  EXPECT_EQ(stream.Write("XY", 2), kOk);
  EXPECT_EQ(stream.Size(), 4u);
  EXPECT_EQ(std::memcmp(room, "XYcd", 4), 0);
  EXPECT_EQ(stream.Seek(0), kOk);
  uint8_t big[11] = {};
  EXPECT_EQ(stream.Write(big, 11), kNoRoom);
  EXPECT_EQ(std::memcmp(room, "XYcd", 4), 0);
  // Seeking is bounded by the room, not by what was written.
  EXPECT_EQ(stream.Seek(10), kOk);
  EXPECT_EQ(stream.Write("z", 1), kNoRoom);
}

TEST(MemoryStreamTest, WrongModeAndMissingBuffersHaveTheirOwnCodes) {
  uint8_t data[4] = {1, 2, 3, 4};
  MemoryStream reading(data, sizeof(data));
  EXPECT_EQ(reading.Write(data, 1), kNotWritable);
  EXPECT_EQ(reading.Read(nullptr, 1), kNullOutput);
  EXPECT_EQ(reading.Read(nullptr, 0), kOk);
  MemoryStream writing(data, sizeof(data), MemoryStream::kWriting);
  uint8_t out;
  EXPECT_EQ(writing.Read(&out, 1), kNotReadable);
  EXPECT_EQ(writing.Write(nullptr, 1), kNullInput);
  EXPECT_EQ(std::memcmp(data, "\x01\x02\x03\x04", 4), 0);
}

TEST(MemoryStreamTest, OpeningWithoutMemoryResetsTheStream) {
  uint8_t data[4] = {};
  MemoryStream stream(data, sizeof(data));
  EXPECT_EQ(stream.Open(data, 0, MemoryStream::kReading), kNoRoom);
  EXPECT_EQ(stream.Data(), nullptr);
  EXPECT_EQ(stream.Size(), 0u);
  EXPECT_EQ(stream.Open(nullptr, 4, MemoryStream::kReading), kNullOutput);
  EXPECT_EQ(stream.GetMode(), MemoryStream::kReading);
  uint8_t out;
  EXPECT_EQ(stream.Read(&out, 1), kNullInput);
  EXPECT_EQ(stream.Seek(0), kNullOutput);
  EXPECT_TRUE(stream.IsAtEnd());
}

TEST(MemoryStreamTest, DescribesAddressAndCapacity) {
  uint8_t data[16] = {};
  MemoryStream stream(data, sizeof(data));
  const std::string text = test::Utf8(stream.Describe());
  EXPECT_EQ(text.rfind("Memory(", 0), 0u) << text;
  EXPECT_NE(text.find("h,16 bytes)"), std::string::npos) << text;
}

}  // namespace
}  // namespace vorn
