#include "package/package_file_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "support/package_test_support.h"

namespace vorn {
namespace {

using test::Bytes;

class PackageFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    older_ = test::BuildArchive({
        {u"Data/Xml/Configuration.xml", test::TextLike(4000, 1), kMethodDeflate},
        {u"Data/Xml/Old.xml", test::TextLike(100, 2), kMethodLzo},
        {u"Data/Empty.bin", {}, kMethodLzma},
    });
    newer_ = test::BuildArchive({
        {u"Data/Xml/Configuration.xml", test::TextLike(3000, 9), kMethodLzma2},
    });
    ASSERT_EQ(files_.MountMemory(older_.data(), older_.size()), kOk);
    ASSERT_EQ(files_.MountMemory(newer_.data(), newer_.size()), kOk);
  }

  Bytes older_;
  Bytes newer_;
  PackageFileSystem files_;
};

TEST_F(PackageFileSystemTest, NewestArchiveAnswersFirst) {
  EXPECT_EQ(files_.ArchiveCount(), 2u);
  uint8_t* buffer = nullptr;
  uint64_t size = 0;
  ASSERT_EQ(files_.ReadAll(u"Data/Xml/Configuration.xml", buffer, size), kOk);
  EXPECT_EQ(Bytes(buffer, buffer + size), test::TextLike(3000, 9));
  std::free(buffer);
  ASSERT_EQ(files_.ReadAll(u"Data/Xml/Old.xml", buffer, size), kOk);
  EXPECT_EQ(Bytes(buffer, buffer + size), test::TextLike(100, 2));
  std::free(buffer);
}

TEST_F(PackageFileSystemTest, PathsMustBeGivenAndFound) {
  Stream* stream = reinterpret_cast<Stream*>(1);
  EXPECT_EQ(files_.Open(nullptr, stream), kInvalidPath);
  EXPECT_EQ(stream, nullptr);
  EXPECT_EQ(files_.Open(u"", stream), kInvalidPath);
  EXPECT_EQ(files_.Open(u"Data/Xml/Missing.xml", stream), kNotFound);
  EXPECT_EQ(files_.Open(u"DATA/XML/OLD.XML", stream), kNotFound);
  uint8_t* buffer = reinterpret_cast<uint8_t*>(1);
  uint64_t size = 7;
  EXPECT_EQ(files_.ReadAll(u"Data\\Xml\\Old.xml", buffer, size), kNotFound);
  EXPECT_EQ(buffer, nullptr);
  EXPECT_EQ(size, 0u);
}

TEST_F(PackageFileSystemTest, EmptyFilesReadAsNullAndZero) {
  uint8_t* buffer = reinterpret_cast<uint8_t*>(1);
  uint64_t size = 7;
  ASSERT_EQ(files_.ReadAll(u"Data/Empty.bin", buffer, size), kOk);
  EXPECT_EQ(buffer, nullptr);
  EXPECT_EQ(size, 0u);
}

TEST_F(PackageFileSystemTest, DestroyingTheStreamFreesTheArchivesSlot) {
  Stream* first = nullptr;
  ASSERT_EQ(files_.Open(u"Data/Xml/Old.xml", first), kOk);
  std::unique_ptr<Stream> holder(first);
  Stream* second = nullptr;
  // Same (older) archive: busy. A stop, not a fall-through to another archive.
  EXPECT_EQ(files_.Open(u"Data/Empty.bin", second), kNotOpen);
  // The newer archive is independent.
  ASSERT_EQ(files_.Open(u"Data/Xml/Configuration.xml", second), kOk);
  delete second;
  holder.reset();
  ASSERT_EQ(files_.Open(u"Data/Empty.bin", second), kOk);
  EXPECT_EQ(second->Seek(0), kOk);
  EXPECT_EQ(second->Seek(1), kIndexOutOfRange);
  EXPECT_EQ(test::Utf8(second->Describe()), "SubStream(0 bytes)");
  delete second;
}

TEST_F(PackageFileSystemTest, ClosingTheStreamEarlyIsSafe) {
  Stream* stream = nullptr;
  ASSERT_EQ(files_.Open(u"Data/Xml/Old.xml", stream), kOk);
  EXPECT_EQ(stream->Close(), kOk);
  uint8_t byte;
  EXPECT_EQ(stream->Read(&byte, 1), kNullOutput);
  EXPECT_EQ(stream->Close(), kNullOutput);
  delete stream;
  ASSERT_EQ(files_.Open(u"Data/Xml/Old.xml", stream), kOk);
  delete stream;
}

TEST(PackageFileSystemMountTest, MountsArchiveFilesAndRejectsBadOnes) {
  test::TempFolder folder;
  const Bytes content = test::BinaryLike(300000, 5);
  folder.WriteFile("good.kelp",
                   test::BuildArchive({{u"Product/Program.exe", content, kMethodLzma, 65536}}));
  Bytes bad = test::BuildArchive({{u"A", {1, 2, 3}, kMethodStored}});
  bad[0] = 'k';
  folder.WriteFile("bad.kelp", bad);
  PackageFileSystem files;
  EXPECT_EQ(files.MountFile(folder.Path(u"bad.kelp").c_str()), kInvalidContent);
  EXPECT_EQ(files.MountFile(folder.Path(u"missing.kelp").c_str()), kNotFound);
  EXPECT_EQ(files.MountMemory(nullptr, 10), kNullOutput);
  EXPECT_EQ(files.Mount(nullptr), kInvalidArgument);
  EXPECT_EQ(files.ArchiveCount(), 0u);
  ASSERT_EQ(files.MountFile(folder.Path(u"good.kelp").c_str()), kOk);
  Stream* stream = nullptr;
  ASSERT_EQ(files.Open(u"Product/Program.exe", stream), kOk);
  Bytes out;
  EXPECT_EQ(test::ReadToEnd(*stream, out, 4 << 20), kOk);
  EXPECT_EQ(out, content);
  delete stream;
  EXPECT_EQ(files.Open(u"A", stream), kNotFound);
}

// A package carried inside a larger file (an executable), between other
// bytes: every entry reads whole, nothing reads past the package, and a range
// the file does not hold is refused before anything is mounted.
TEST(PackageFileSystemMountTest, MountsAnArchiveStoredInsideALargerFile) {
  test::TempFolder folder;
  const Bytes stored = test::BinaryLike(200000, 7);
  const Bytes packed = test::TextLike(50000, 8);
  const Bytes archive = test::BuildArchive({{u"Product/Stored.bin", stored, kMethodStored},
                                            {u"Product/Packed.txt", packed, kMethodLzma, 16384}});
  Bytes carrier = test::BinaryLike(5000, 1);
  carrier.insert(carrier.end(), archive.begin(), archive.end());
  const Bytes trailer = test::BinaryLike(3000, 2);
  carrier.insert(carrier.end(), trailer.begin(), trailer.end());
  folder.WriteFile("Setup.exe", carrier);
  const std::u16string path = folder.Path(u"Setup.exe");

  PackageFileSystem files;
  EXPECT_EQ(files.MountFileRange(path.c_str(), carrier.size() - 10, 11), kInvalidSize);
  EXPECT_EQ(files.MountFileRange(path.c_str(), ~0ull, 1), kInvalidSize);
  EXPECT_EQ(files.MountFileRange(folder.Path(u"Missing.exe").c_str(), 0, 1), kNotFound);
  EXPECT_EQ(files.MountFileRange(path.c_str(), 4999, archive.size()), kInvalidContent);
  EXPECT_EQ(files.ArchiveCount(), 0u);

  ASSERT_EQ(files.MountFileRange(path.c_str(), 5000, archive.size()), kOk);
  const std::string source = test::Utf8(files.Describe());
  EXPECT_EQ(source.rfind("Window(5000," + std::to_string(archive.size()) + ",File(", 0), 0u)
      << source;
  for (int round = 0; round < 2; ++round) {  // entries in any order, again
    Stream* stream = nullptr;
    Bytes out;
    ASSERT_EQ(files.Open(u"Product/Packed.txt", stream), kOk);
    EXPECT_EQ(test::ReadToEnd(*stream, out, 1 << 20), kOk);
    EXPECT_EQ(out, packed);
    delete stream;
    ASSERT_EQ(files.Open(u"Product/Stored.bin", stream), kOk);
    out.clear();
    EXPECT_EQ(test::ReadToEnd(*stream, out, 1 << 20), kOk);
    EXPECT_EQ(out, stored);
    uint8_t byte = 0;
    EXPECT_EQ(stream->Read(&byte, 1), kEndOfData);
    delete stream;
  }
}

TEST(PackageFileSystemMountTest, ABadArchiveYieldsNotFoundForEveryPath) {
  Bytes archive = test::BuildArchive({{u"Data/Xml/Configuration.xml", {1}, kMethodStored}});
  archive[20] ^= 0xFF;  // header checksum no longer matches
  PackageFileSystem files;
  EXPECT_EQ(files.MountMemory(archive.data(), archive.size()), kInvalidState);
  Stream* stream = nullptr;
  EXPECT_EQ(files.Open(u"Data/Xml/Configuration.xml", stream), kNotFound);
  EXPECT_EQ(files.Open(u"Anything", stream), kNotFound);
}

}  // namespace
}  // namespace vorn
