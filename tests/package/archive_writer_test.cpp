#include "package/archive_writer.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "package/checksum.h"
#include "package/file_stream.h"
#include "package/memory_stream.h"
#include "package/package_archive.h"
#include "package/path_hash.h"
#include "support/package_test_support.h"

namespace vorn {
namespace {

using test::ArchiveEditor;
using test::Bytes;

TEST(ArchiveWriterTest, WritesTheLayoutByteForByte) {
  const Bytes content = {'h', 'e', 'l', 'l', 'o'};
  const Bytes archive = test::BuildArchive({{u"A", content, kMethodStored}});
  ASSERT_GE(archive.size(), kArchiveHeaderSize + 2 * kEntryHeaderSize + 5);
  ArchiveEditor editor(const_cast<Bytes&>(archive));
  const ArchiveHeader header = editor.Header();
  EXPECT_EQ(std::memcmp(archive.data(), "KelpFiLe\x1A\x00", 10), 0);
  EXPECT_EQ(header.writer_version, 0x0300);
  EXPECT_EQ(header.archive_size, archive.size());
  EXPECT_EQ(header.creation_date, 0x20160117u);
  EXPECT_EQ(header.creation_time, 0x13450900u);
  EXPECT_EQ(header.layout, 1);
  EXPECT_EQ(header.record_type, 0x1010);
  EXPECT_EQ(header.format_version, 0x0300);
  EXPECT_EQ(header.flags, 0x10);
  // CRC of bytes 0-29 then 34-56.
  uint32_t crc = Crc32(archive.data(), 30);
  crc = Crc32(crc, archive.data() + 34, 23);
  EXPECT_EQ(header.checksum, crc);

  const EntryHeader entry = editor.Entry(kArchiveHeaderSize);
  EXPECT_EQ(entry.method, kMethodStored);
  EXPECT_EQ(entry.packed_size, 5u);
  EXPECT_EQ(entry.unpacked_size, 5u);
  EXPECT_EQ(entry.record_type, 0x1012);
  EXPECT_EQ(entry.flags, 0x30);
  EXPECT_EQ(entry.layout, 1);
  EXPECT_EQ(std::memcmp(archive.data() + kArchiveHeaderSize + kEntryHeaderSize, "hello", 5), 0);

  // The directory is the last entry and ends the archive.
  EXPECT_EQ(header.directory_offset, kArchiveHeaderSize + kEntryHeaderSize + 5);
  const EntryHeader directory = editor.Entry(header.directory_offset);
  EXPECT_EQ(directory.method, kMethodDeflate);
  EXPECT_EQ(directory.record_type, 0x1011);
  EXPECT_EQ(directory.flags, 0x50);
  EXPECT_EQ(directory.unpacked_size, 8u);
  EXPECT_EQ(header.directory_offset + kEntryHeaderSize + directory.packed_size, archive.size());
  EXPECT_EQ(editor.EntryOffset(u"A"), kArchiveHeaderSize);
}

TEST(ArchiveWriterTest, SortsTheDirectoryByHash) {
  std::vector<test::TestEntry> entries;
  for (int i = 0; i < 50; ++i) {
    const std::u16string path = u"Folder/File" + std::u16string(1, char16_t(u'A' + i % 26)) +
                                std::u16string(1, char16_t(u'a' + i / 26));
    entries.push_back({path, test::TextLike(10 + i, i), PackMethod(i % 6)});
  }
  Bytes archive = test::BuildArchive(entries);
  MemoryStream source(archive.data(), archive.size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  ASSERT_EQ(mounted.RowCount(), 50u);
  for (uint32_t i = 1; i < mounted.RowCount(); ++i) {
    EXPECT_LT(mounted.Rows()[i - 1].hash, mounted.Rows()[i].hash);
  }
  for (const test::TestEntry& entry : entries) {
    SubStream* stream = nullptr;
    ASSERT_EQ(mounted.OpenEntry(entry.path.c_str(), stream), kOk);
    Bytes out;
    EXPECT_EQ(test::ReadToEnd(*stream, out, 7), kOk);
    EXPECT_EQ(out, entry.content);
    EXPECT_EQ(mounted.CloseEntry(stream), kOk);
  }
}

TEST(ArchiveWriterTest, RefusesWhatTheFormatCannotHold) {
  test::GrowingStream sink;
  ArchiveWriter writer;
  EXPECT_EQ(writer.AddMemory(u"A", "x", 1, kMethodStored), kNotOpen);
  EXPECT_EQ(writer.Begin(nullptr), kInvalidArgument);
  ASSERT_EQ(writer.Begin(&sink), kOk);
  EXPECT_EQ(writer.AddMemory(u"A", "x", 1, PackMethod(6)), kBadFormat);
  EXPECT_EQ(writer.AddMemory(u"A", "x", 1, PackMethod(7)), kBadFormat);
  EXPECT_EQ(writer.AddMemory(u"A", "x", 1, PackMethod(9)), kInvalidArgument);
  EXPECT_EQ(writer.AddMemory(nullptr, "x", 1, kMethodStored), kInvalidName);
  EXPECT_EQ(writer.AddMemory(u"", "x", 1, kMethodStored), kInvalidPath);
  ASSERT_EQ(writer.AddMemory(u"A", "x", 1, kMethodStored), kOk);
  EXPECT_EQ(writer.AddMemory(u"A", "y", 1, kMethodDeflate), kAlreadyExists);
  EXPECT_EQ(writer.EntryCount(), 1u);
  ASSERT_EQ(writer.Finish(), kOk);
  EXPECT_EQ(writer.Finish(), kNotOpen);
  // What was refused left nothing behind.
  MemoryStream source(sink.Data().data(), sink.Data().size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  EXPECT_EQ(mounted.RowCount(), 1u);
}

TEST(ArchiveWriterTest, AddsFilesFromDiskThroughAFileStream) {
  test::TempFolder folder;
  const Bytes program = test::BinaryLike(100000, 8);
  folder.WriteFile("Program.exe", program);
  FileStream sink;
  ASSERT_EQ(sink.OpenForWriting(folder.Path(u"out.kelp").c_str()), kOk);
  ArchiveWriter writer;
  ASSERT_EQ(writer.Begin(&sink), kOk);
  ASSERT_EQ(writer.AddFile(u"Product/Program.exe", folder.Path(u"Program.exe").c_str(), kMethodLzma,
                           32768),
            kOk);
  EXPECT_EQ(
      writer.AddFile(u"Product/Missing.exe", folder.Path(u"Missing.exe").c_str(), kMethodLzma),
      kNotFound);
  ASSERT_EQ(writer.Finish(), kOk);
  ASSERT_EQ(sink.Close(), kOk);

  FileStream source;
  ASSERT_EQ(source.OpenForReading(folder.Path(u"out.kelp").c_str()), kOk);
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  SubStream* stream = nullptr;
  ASSERT_EQ(mounted.OpenEntry(u"Product/Program.exe", stream), kOk);
  Bytes out;
  EXPECT_EQ(test::ReadToEnd(*stream, out, 5000), kOk);
  EXPECT_EQ(out, program);
  EXPECT_EQ(mounted.CloseEntry(stream), kOk);
}

TEST(ArchiveWriterTest, PrecodedBlocksFromElsewhereReadBack) {
  // Blocks coded independently (as worker threads would), then added in order.
  const Bytes content = test::TextLike(70000, 4);
  const uint32_t block = 16384;
  std::unique_ptr<BlockEncoder> encoder(NewBlockEncoder(kMethodLzma2, block));
  Bytes coded(kPropertiesSize);
  encoder->Properties(coded.data());
  for (size_t at = 0; at < content.size(); at += block) {
    const uint32_t size = uint32_t(std::min<size_t>(block, content.size() - at));
    Bytes framed(FramedBlockBound(*encoder, size));
    uint32_t framed_size = 0;
    ASSERT_EQ(EncodeFramedBlock(*encoder, content.data() + at, size, framed.data(), framed_size),
              kOk);
    coded.insert(coded.end(), framed.begin(), framed.begin() + framed_size);
  }
  test::GrowingStream sink;
  ArchiveWriter writer;
  ASSERT_EQ(writer.Begin(&sink), kOk);
  ASSERT_EQ(writer.BeginPrecodedEntry(u"Big.txt", kMethodLzma2), kOk);
  ASSERT_EQ(writer.WriteEntry(coded.data(), uint32_t(coded.size())), kOk);
  ASSERT_EQ(writer.EndPrecodedEntry(content.size()), kOk);
  ASSERT_EQ(writer.Finish(), kOk);
  MemoryStream source(sink.Data().data(), sink.Data().size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  SubStream* stream = nullptr;
  ASSERT_EQ(mounted.OpenEntry(u"Big.txt", stream), kOk);
  Bytes out;
  EXPECT_EQ(test::ReadToEnd(*stream, out, 10000), kOk);
  EXPECT_EQ(out, content);
  EXPECT_EQ(mounted.CloseEntry(stream), kOk);
}

TEST(ArchiveWriterTest, FailingSinkStopsTheArchive) {
  uint8_t room[200];
  MemoryStream sink(room, sizeof(room), MemoryStream::kWriting);
  ArchiveWriter writer;
  ASSERT_EQ(writer.Begin(&sink), kOk);
  const Bytes content = test::Noise(500);
  EXPECT_EQ(writer.AddMemory(u"A", content.data(), content.size(), kMethodStored), kNoRoom);
  EXPECT_EQ(writer.Finish(), kNotOpen);
}

// Inflates `size` bytes at `data` as one whole zlib stream, as a strict
// reader does: true when the stream ends there and gives nothing.
bool IsWholeEmptyZlibStream(const uint8_t* data, uint64_t size) {
  z_stream z = {};
  if (inflateInit(&z) != Z_OK) return false;
  uint8_t out[16];
  z.next_in = const_cast<uint8_t*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out;
  z.avail_out = sizeof out;
  const int code = inflate(&z, Z_FINISH);
  const bool whole = code == Z_STREAM_END && z.avail_in == 0 && z.total_out == 0;
  inflateEnd(&z);
  return whole;
}

TEST(ArchiveWriterTest, EmptyDeflateEntriesAndDirectoriesAreWholeZlibStreams) {
  // An archive without files: its directory holds no rows.
  test::GrowingStream bare;
  ArchiveWriter empty_writer;
  ASSERT_EQ(empty_writer.Begin(&bare), kOk);
  ASSERT_EQ(empty_writer.Finish(), kOk);
  Bytes none = bare.Data();
  ArchiveEditor none_editor(none);
  const EntryHeader bare_directory = none_editor.Entry(none_editor.DirectoryOffset());
  EXPECT_EQ(bare_directory.unpacked_size, 0u);
  EXPECT_TRUE(IsWholeEmptyZlibStream(
      none.data() + none_editor.DirectoryOffset() + kEntryHeaderSize, bare_directory.packed_size));

  const Bytes archive = test::BuildArchive(
      {{u"Empty.txt", {}, kMethodDeflate}, {u"Full.txt", {'x', 'y'}, kMethodDeflate}});
  ArchiveEditor editor(const_cast<Bytes&>(archive));
  const uint64_t offset = editor.EntryOffset(u"Empty.txt");
  const EntryHeader entry = editor.Entry(offset);
  EXPECT_EQ(entry.method, kMethodDeflate);
  EXPECT_EQ(entry.unpacked_size, 0u);
  EXPECT_TRUE(IsWholeEmptyZlibStream(archive.data() + offset + kEntryHeaderSize,
                                     entry.packed_size));
  // The entries after it stand where the directory says, and all read back.
  MemoryStream source(archive.data(), archive.size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  for (const char16_t* path : {u"Empty.txt", u"Full.txt"}) {
    SubStream* opened = nullptr;
    ASSERT_EQ(mounted.OpenEntry(path, opened), kOk);
    Bytes out;
    EXPECT_EQ(test::ReadToEnd(*opened, out), kOk);
    EXPECT_EQ(out.size(), path[0] == u'E' ? 0u : 2u);
    EXPECT_TRUE(opened->IsAtEnd());
    EXPECT_EQ(mounted.CloseEntry(opened), kOk);
  }
}

// Archives written before carry empty deflate entries as no bytes at all.
TEST(ArchiveWriterTest, ZeroByteEmptyDeflateEntriesStillRead) {
  test::GrowingStream sink;
  ArchiveWriter writer;
  ASSERT_EQ(writer.Begin(&sink), kOk);
  ASSERT_EQ(writer.BeginPrecodedEntry(u"Old.txt", kMethodDeflate), kOk);
  ASSERT_EQ(writer.EndPrecodedEntry(0), kOk);
  ASSERT_EQ(writer.Finish(), kOk);
  MemoryStream source(sink.Data().data(), sink.Data().size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  SubStream* opened = nullptr;
  ASSERT_EQ(mounted.OpenEntry(u"Old.txt", opened), kOk);
  EXPECT_EQ(opened->Size(), 0u);
  uint8_t byte;
  EXPECT_EQ(opened->Read(&byte, 1), kEndOfData);
  EXPECT_EQ(mounted.CloseEntry(opened), kOk);
}

TEST(ArchiveFormatTest, DigitCodedDatesAndTimes) {
  EXPECT_EQ(DigitCodedDate(2016, 1, 17), 0x20160117u);
  EXPECT_EQ(DigitCodedTime(13, 45, 9), 0x13450900u);
}

}  // namespace
}  // namespace vorn
