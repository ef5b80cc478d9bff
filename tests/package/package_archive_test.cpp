#include "package/package_archive.h"

#include <gtest/gtest.h>

#include <cstring>

#include "package/package_encoders.h"
#include "package/path_hash.h"
#include "support/package_test_support.h"

namespace vorn {
namespace {

using test::ArchiveEditor;
using test::Bytes;

const char16_t kConfiguration[] = u"Data/Xml/Configuration.xml";

class PackageArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    configuration_ = test::TextLike(5000, 1);
    picture_ = test::BinaryLike(3000, 2);
    archive_ = test::BuildArchive({
        {kConfiguration, configuration_, kMethodPpmd},
        {u"Data/Pictures/Logo.png", picture_, kMethodStored},
        {u"Data/Xml/FileList.xml", test::TextLike(700, 3), kMethodDeflate},
        {u"Product/Program.exe", test::BinaryLike(20000, 4), kMethodLzma},
        {u"Product/Empty.txt", {}, kMethodStored},
    });
    ASSERT_FALSE(archive_.empty());
  }

  Result MountCopy(PackageArchive& archive) {
    source_.Open(archive_.data(), archive_.size(), MemoryStream::kReading);
    return archive.Mount(&source_);
  }

  Result ReadEntry(PackageArchive& archive, const char16_t* path, Bytes& out) {
    SubStream* entry = nullptr;
    Result result = archive.OpenEntry(path, entry);
    if (result != kOk) return result;
    result = test::ReadToEnd(*entry, out, 1000);
    EXPECT_EQ(archive.CloseEntry(entry), kOk);
    return result;
  }

  Bytes configuration_;
  Bytes picture_;
  Bytes archive_;
  MemoryStream source_;
};

TEST_F(PackageArchiveTest, FindsEntriesByExactPathOnly) {
  PackageArchive archive;
  ASSERT_EQ(MountCopy(archive), kOk);
  EXPECT_EQ(archive.RowCount(), 5u);
  Bytes out;
  ASSERT_EQ(ReadEntry(archive, kConfiguration, out), kOk);
  EXPECT_EQ(out, configuration_);
  ASSERT_EQ(ReadEntry(archive, u"Data/Pictures/Logo.png", out), kOk);
  EXPECT_EQ(out, picture_);
  SubStream* entry = nullptr;
  EXPECT_EQ(archive.OpenEntry(u"data/xml/configuration.xml", entry), kNotFound);
  EXPECT_EQ(archive.OpenEntry(u"Data\\Xml\\Configuration.xml", entry), kNotFound);
  EXPECT_EQ(archive.OpenEntry(u"/Data/Xml/Configuration.xml", entry), kNotFound);
  EXPECT_EQ(archive.OpenEntry(nullptr, entry), kInvalidName);
  EXPECT_EQ(entry, nullptr);
}

TEST_F(PackageArchiveTest, RowsOpenWithoutPaths) {
  PackageArchive archive;
  ASSERT_EQ(MountCopy(archive), kOk);
  uint64_t total = 0;
  for (uint32_t i = 0; i < archive.RowCount(); ++i) {
    SubStream* entry = nullptr;
    ASSERT_EQ(archive.OpenRow(i, entry), kOk);
    Bytes out;
    EXPECT_EQ(test::ReadToEnd(*entry, out), kOk);
    total += out.size();
    EXPECT_EQ(archive.CloseEntry(entry), kOk);
  }
  EXPECT_EQ(total, 5000u + 3000u + 700u + 20000u);
  SubStream* entry = nullptr;
  EXPECT_EQ(archive.OpenRow(archive.RowCount(), entry), kIndexOutOfRange);
  EXPECT_EQ(entry, nullptr);
}

TEST_F(PackageArchiveTest, ServesOneOpenEntryAtATime) {
  PackageArchive archive;
  ASSERT_EQ(MountCopy(archive), kOk);
  SubStream* first = nullptr;
  ASSERT_EQ(archive.OpenEntry(kConfiguration, first), kOk);
  SubStream* second = nullptr;
  EXPECT_EQ(archive.OpenEntry(u"Data/Pictures/Logo.png", second), kNotOpen);
  EXPECT_EQ(second, nullptr);
  SubStream stranger;
  EXPECT_EQ(archive.CloseEntry(&stranger), kInvalidArgument);
  EXPECT_EQ(archive.CloseEntry(nullptr), kInvalidArgument);
  EXPECT_EQ(archive.CloseEntry(first), kOk);
  ASSERT_EQ(archive.OpenEntry(u"Data/Pictures/Logo.png", second), kOk);
  Bytes out;
  ASSERT_EQ(test::ReadToEnd(*second, out), kOk);
  EXPECT_EQ(out, picture_);
  EXPECT_EQ(archive.CloseEntry(second), kOk);
}

TEST_F(PackageArchiveTest, EntryStreamsOnlySeekToWhereTheyAre) {
  PackageArchive archive;
  ASSERT_EQ(MountCopy(archive), kOk);
  SubStream* entry = nullptr;
  ASSERT_EQ(archive.OpenEntry(kConfiguration, entry), kOk);
  EXPECT_EQ(entry->Seek(0), kOk);
  uint8_t bytes[10];
  ASSERT_EQ(entry->Read(bytes, 10), kOk);
  EXPECT_EQ(entry->Seek(10), kOk);
  EXPECT_EQ(entry->Seek(0), kIndexOutOfRange);
  EXPECT_EQ(entry->Seek(11), kIndexOutOfRange);
  EXPECT_EQ(entry->Size(), configuration_.size());
  EXPECT_EQ(entry->Flush(0), kOk);
  EXPECT_EQ(test::Utf8(entry->Describe()), "SubStream(5000 bytes)");
  EXPECT_EQ(archive.CloseEntry(entry), kOk);
}

TEST_F(PackageArchiveTest, StoredEntryNeverHandsOutTheNextEntrysBytes) {
  PackageArchive archive;
  ASSERT_EQ(MountCopy(archive), kOk);
  SubStream* entry = nullptr;
  ASSERT_EQ(archive.OpenEntry(u"Data/Pictures/Logo.png", entry), kOk);
  Bytes out(picture_.size() + 1);
  EXPECT_EQ(entry->Read(out.data(), uint32_t(out.size())), kEndOfData);
  ASSERT_EQ(entry->Read(out.data(), uint32_t(picture_.size())), kOk);
  uint8_t byte;
  EXPECT_EQ(entry->Read(&byte, 1), kEndOfData);
  EXPECT_TRUE(entry->IsAtEnd());
  EXPECT_EQ(archive.CloseEntry(entry), kOk);
}

TEST_F(PackageArchiveTest, EmptyEntriesAreOpenAndAtTheirEnd) {
  PackageArchive archive;
  ASSERT_EQ(MountCopy(archive), kOk);
  SubStream* entry = nullptr;
  ASSERT_EQ(archive.OpenEntry(u"Product/Empty.txt", entry), kOk);
  EXPECT_EQ(entry->Size(), 0u);
  EXPECT_TRUE(entry->IsAtEnd());
  uint8_t byte;
  EXPECT_EQ(entry->Read(&byte, 1), kEndOfData);
  EXPECT_EQ(archive.CloseEntry(entry), kOk);
}

TEST_F(PackageArchiveTest, DescribesTheCurrentDecodingStream) {
  PackageArchive archive;
  EXPECT_EQ(test::Utf8(archive.Describe()), "KelpFiLe(n/a)");
  uint8_t byte;
  EXPECT_EQ(archive.Read(&byte, 1), kNotOpen);
  ASSERT_EQ(MountCopy(archive), kOk);
  SubStream* entry = nullptr;
  ASSERT_EQ(archive.OpenEntry(kConfiguration, entry), kOk);
  const std::string text = test::Utf8(archive.Describe());
  EXPECT_EQ(text.rfind("KelpFiLe(LZMAStream(", 0), 0u) << text;
  EXPECT_NE(text.find(",5000 unpacked))"), std::string::npos) << text;
  EXPECT_EQ(archive.CloseEntry(entry), kOk);
}

TEST_F(PackageArchiveTest, HeaderFaultsHaveTheirCodes) {
  struct Case {
    const char* what;
    void (*edit)(ArchiveHeader&);
    bool fix_checksum;
    Result expected;
  };
  const Case cases[] = {
      {"magic without 0x1A 0x00", [](ArchiveHeader& h) { h.magic[8] = 0; }, true, kInvalidContent},
      {"wrong checksum", [](ArchiveHeader& h) { h.checksum ^= 1; }, false, kInvalidState},
      {"plausible field, stale checksum", [](ArchiveHeader& h) { h.creation_date = 0x20200101; },
       false, kInvalidState},
      {"format 0x0301", [](ArchiveHeader& h) { h.format_version = 0x0301; }, true, kBadFormat},
      {"layout 2", [](ArchiveHeader& h) { h.layout = 2; }, true, kBadFormat},
      {"record type", [](ArchiveHeader& h) { h.record_type = 0x1011; }, true, kBadFormat},
      {"flags", [](ArchiveHeader& h) { h.flags = 0x30; }, true, kBadFormat},
      {"no directory", [](ArchiveHeader& h) { h.directory_offset = 0; }, true, kInvalidState},
      {"directory past the end", [](ArchiveHeader& h) { h.directory_offset = 1u << 30; }, true,
       kInvalidState},
  };
  for (const Case& c : cases) {
    Bytes copy = archive_;
    ArchiveEditor editor(copy);
    ArchiveHeader header = editor.Header();
    c.edit(header);
    editor.SetHeader(header, c.fix_checksum);
    MemoryStream source(copy.data(), copy.size());
    PackageArchive archive;
    EXPECT_EQ(archive.Mount(&source), c.expected) << c.what;
    EXPECT_FALSE(archive.IsMounted()) << c.what;
    SubStream* entry = nullptr;
    EXPECT_EQ(archive.OpenEntry(kConfiguration, entry), kNotOpen) << c.what;
  }
}

TEST_F(PackageArchiveTest, OlderFormatVersionsAreAccepted) {
  ArchiveEditor editor(archive_);
  ArchiveHeader header = editor.Header();
  header.format_version = 0x0200;
  editor.SetHeader(header);
  PackageArchive archive;
  EXPECT_EQ(MountCopy(archive), kOk);
}

TEST_F(PackageArchiveTest, ShortOrMissingSourcesFail) {
  PackageArchive archive;
  EXPECT_EQ(archive.Mount(nullptr), kInvalidArgument);
  MemoryStream truncated(archive_.data(), 40);
  EXPECT_EQ(archive.Mount(&truncated), kEndOfData);
  MemoryStream headless(archive_.data(), kArchiveHeaderSize);
  EXPECT_NE(archive.Mount(&headless), kOk);
}

TEST_F(PackageArchiveTest, EntryMethodsAreTheLowThreeBits) {
  const uint64_t offset = ArchiveEditor(archive_).EntryOffset(u"Data/Xml/FileList.xml");
  ASSERT_NE(offset, 0u);
  for (uint16_t method : {uint16_t(9), uint16_t(6), uint16_t(7), uint16_t(0x4001)}) {
    Bytes copy = archive_;
    ArchiveEditor editor(copy);
    EntryHeader entry = editor.Entry(offset);
    entry.method = method;
    editor.SetEntry(offset, entry);
    MemoryStream source(copy.data(), copy.size());
    PackageArchive archive;
    ASSERT_EQ(archive.Mount(&source), kOk);
    SubStream* stream = nullptr;
    const Result result = archive.OpenEntry(u"Data/Xml/FileList.xml", stream);
    if ((method & 7) == 1) {
      ASSERT_EQ(result, kOk) << method;  // 9 reads as deflate
      Bytes out;
      EXPECT_EQ(test::ReadToEnd(*stream, out), kOk);
      EXPECT_EQ(out, test::TextLike(700, 3));
      EXPECT_EQ(archive.CloseEntry(stream), kOk);
    } else {
      EXPECT_EQ(result, kBadFormat) << method;
      EXPECT_EQ(stream, nullptr);
      // The slot stays free for the next entry.
      ASSERT_EQ(archive.OpenEntry(kConfiguration, stream), kOk);
      EXPECT_EQ(archive.CloseEntry(stream), kOk);
    }
  }
}

TEST_F(PackageArchiveTest, CorruptEntryHeadersGiveClearCodes) {
  const uint64_t offset = ArchiveEditor(archive_).EntryOffset(u"Data/Pictures/Logo.png");
  struct Case {
    const char* what;
    void (*edit)(EntryHeader&);
    bool fix_checksum;
    Result expected;
  };
  const Case cases[] = {
      {"stale checksum", [](EntryHeader& e) { e.packed_size += 1; }, false, kInvalidState},
      {"packed past the archive", [](EntryHeader& e) { e.packed_size = 1ull << 40; }, true,
       kInvalidContent},
      {"stored, more unpacked than packed", [](EntryHeader& e) { e.unpacked_size += 1; }, true,
       kInvalidContent},
  };
  for (const Case& c : cases) {
    Bytes copy = archive_;
    ArchiveEditor editor(copy);
    EntryHeader entry = editor.Entry(offset);
    c.edit(entry);
    editor.SetEntry(offset, entry, c.fix_checksum);
    MemoryStream source(copy.data(), copy.size());
    PackageArchive archive;
    ASSERT_EQ(archive.Mount(&source), kOk);
    SubStream* stream = nullptr;
    EXPECT_EQ(archive.OpenEntry(u"Data/Pictures/Logo.png", stream), c.expected) << c.what;
    EXPECT_EQ(stream, nullptr);
  }
}

// Archives whose directory is written by hand.
class DirectoryTest : public ::testing::Test {
 protected:
  // A stored entry "A" followed by a directory of `rows` bytes (deflated)
  // that claims `claimed` unpacked bytes.
  static Bytes WithDirectory(const Bytes& rows, uint64_t claimed) {
    test::GrowingStream sink;
    ArchiveWriter writer;
    EXPECT_EQ(writer.Begin(&sink), kOk);
    EXPECT_EQ(writer.AddMemory(u"A", "abc", 3, kMethodStored), kOk);
    EXPECT_EQ(writer.Finish(), kOk);
    Bytes archive = sink.Data();
    ArchiveEditor editor(archive);
    const uint64_t directory = editor.DirectoryOffset();
    archive.resize(directory);
    test::GrowingStream packed;
    LZHStream deflate(&kPackageEncoders);
    deflate.Init(&packed, 0, 0);
    deflate.Write(rows.data(), uint32_t(rows.size()));
    deflate.Flush(0);
    EntryHeader entry = {};
    entry.method = kMethodDeflate;
    entry.packed_size = packed.Data().size();
    entry.unpacked_size = claimed;
    entry.layout = 1;
    entry.record_type = kDirectoryRecordType;
    entry.format_version = kFormatVersion;
    entry.flags = kDirectoryRecordFlags;
    archive.resize(directory + kEntryHeaderSize);
    editor.SetEntry(directory, entry);
    archive.insert(archive.end(), packed.Data().begin(), packed.Data().end());
    ArchiveHeader header = editor.Header();
    header.archive_size = archive.size();
    editor.SetHeader(header);
    return archive;
  }

  static Bytes Row(uint32_t hash, uint32_t offset) {
    Bytes row(8);
    std::memcpy(row.data(), &hash, 4);
    std::memcpy(row.data() + 4, &offset, 4);
    return row;
  }
};

TEST_F(DirectoryTest, TrailingBytesOfTheDirectoryAreIgnored) {
  Bytes rows = Row(PathHash(u"A"), kArchiveHeaderSize);
  const Bytes second = Row(0xFFFFFFF0u, kArchiveHeaderSize);
  rows.insert(rows.end(), second.begin(), second.end());
  rows.insert(rows.end(), {1, 2, 3, 4});
  Bytes archive = WithDirectory(rows, 20);
  MemoryStream source(archive.data(), archive.size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  EXPECT_EQ(mounted.RowCount(), 2u);
  SubStream* entry = nullptr;
  ASSERT_EQ(mounted.OpenEntry(u"A", entry), kOk);
  Bytes out;
  EXPECT_EQ(test::ReadToEnd(*entry, out), kOk);
  EXPECT_EQ(out, (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(mounted.CloseEntry(entry), kOk);
}

TEST_F(DirectoryTest, MoreRowsThanTheArchiveCanHoldFailBeforeAllocating) {
  Bytes archive = WithDirectory(Row(PathHash(u"A"), kArchiveHeaderSize), 0xFFFFFFF8u);
  MemoryStream source(archive.data(), archive.size());
  PackageArchive mounted;
  EXPECT_EQ(mounted.Mount(&source), kInvalidState);
  // 4 GiB or more of directory.
  archive = WithDirectory(Row(PathHash(u"A"), kArchiveHeaderSize), 1ull << 32);
  MemoryStream wide(archive.data(), archive.size());
  EXPECT_EQ(mounted.Mount(&wide), kInvalidState);
}

TEST_F(DirectoryTest, RowsPointingOutsideTheArchiveGiveClearCodes) {
  Bytes rows = Row(PathHash(u"A"), 0x7FFFFFF0u);
  const Bytes near_end = Row(PathHash(u"B"), 0);
  rows.insert(rows.end(), near_end.begin(), near_end.end());
  if (PathHash(u"B") < PathHash(u"A"))
    std::swap_ranges(rows.begin(), rows.begin() + 8, rows.begin() + 8);
  Bytes archive = WithDirectory(rows, 16);
  MemoryStream source(archive.data(), archive.size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  SubStream* entry = nullptr;
  EXPECT_EQ(mounted.OpenEntry(u"A", entry), kInvalidContent);
  // Offset 0 lands on the archive header: its bytes are no entry header.
  EXPECT_EQ(mounted.OpenEntry(u"B", entry), kInvalidState);
  EXPECT_EQ(entry, nullptr);
}

// The form older writers gave a directory without rows: no bytes at all.
TEST_F(DirectoryTest, AZeroByteDirectoryStillMounts) {
  Bytes archive = WithDirectory({}, 0);
  MemoryStream source(archive.data(), archive.size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  EXPECT_EQ(mounted.RowCount(), 0u);
}

TEST_F(DirectoryTest, AnEmptyDirectoryFindsNothing) {
  test::GrowingStream sink;
  ArchiveWriter writer;
  ASSERT_EQ(writer.Begin(&sink), kOk);
  ASSERT_EQ(writer.Finish(), kOk);
  MemoryStream source(sink.Data().data(), sink.Data().size());
  PackageArchive mounted;
  ASSERT_EQ(mounted.Mount(&source), kOk);
  EXPECT_EQ(mounted.RowCount(), 0u);
  SubStream* entry = nullptr;
  EXPECT_EQ(mounted.OpenEntry(u"A", entry), kNotFound);
}

TEST(PathHashTest, MatchesTheByteWiseFunctionOverUtf16LittleEndian) {
  // The published function over bytes, for comparison.
  auto reference = [](const uint8_t* data, int length) {
    auto get16 = [](const uint8_t* d) { return uint32_t(d[1]) << 8 | d[0]; };
    uint32_t hash = uint32_t(length), tmp;
    if (length <= 0) return 0u;
    int rem = length & 3;
    length >>= 2;
    for (; length > 0; --length) {
      hash += get16(data);
      tmp = (get16(data + 2) << 11) ^ hash;
      hash = (hash << 16) ^ tmp;
      data += 4;
      hash += hash >> 11;
    }
    switch (rem) {
      case 3:
        hash += get16(data);
        hash ^= hash << 16;
        hash ^= uint32_t(int32_t(int8_t(data[2]))) << 18;
        hash += hash >> 11;
        break;
      case 2:
        hash += get16(data);
        hash ^= hash << 11;
        hash += hash >> 17;
        break;
      case 1:
        hash += uint32_t(int32_t(int8_t(*data)));
        hash ^= hash << 10;
        hash += hash >> 1;
    }
    hash ^= hash << 3;
    hash += hash >> 5;
    hash ^= hash << 4;
    hash += hash >> 17;
    hash ^= hash << 25;
    hash += hash >> 6;
    return hash;
  };
  for (const char16_t* path : {u"Data/Xml/Configuration.xml", u"Data/Xml/FileList.xml", u"A", u"ab",
                               u"abc", u"Product/\u00C9t\u00E9/\u4E2D\u6587.txt"}) {
    std::vector<uint8_t> bytes;
    for (const char16_t* c = path; *c != 0; ++c) {
      bytes.push_back(uint8_t(*c & 0xFF));
      bytes.push_back(uint8_t(*c >> 8));
    }
    EXPECT_EQ(PathHash(path), reference(bytes.data(), int(bytes.size())));
  }
  EXPECT_EQ(PathHash(u""), 0u);
  EXPECT_NE(PathHash(u"Data/Xml/Configuration.xml"), PathHash(u"data/xml/configuration.xml"));
}

}  // namespace
}  // namespace vorn
