#include <gtest/gtest.h>

#include <cstdlib>

#include "package/package_file_system.h"
#include "support/package_test_support.h"

namespace vorn {
namespace {

// This executable carries tests/package/data/embedded.kelp as its RCDATA
// resource 4096: the process's file system reads it from the executable's
// file, where the resource lies.
TEST(EmbeddedPackageTest, InstanceReadsEveryEntryOfTheOwnResource) {
  PackageFileSystem& files = PackageFileSystem::Instance();
  ASSERT_EQ(files.EmbeddedResult(), kOk);
  EXPECT_EQ(files.ArchiveCount(), 1u);
  const std::string source = test::Utf8(files.Describe());
  EXPECT_EQ(source.rfind("Window(", 0), 0u) << source;
  EXPECT_NE(source.find("package_"), std::string::npos) << source;
  EXPECT_NE(source.find(".exe"), std::string::npos) << source;
  for (const test::TestEntry& entry : test::EmbeddedTestEntries()) {
    Stream* stream = nullptr;
    ASSERT_EQ(files.Open(entry.path.c_str(), stream), kOk);
    EXPECT_EQ(stream->Size(), entry.content.size());
    test::Bytes out;
    EXPECT_EQ(test::ReadToEnd(*stream, out, 64), kOk);
    EXPECT_EQ(out, entry.content);
    delete stream;
    uint8_t* buffer = nullptr;
    uint64_t size = 0;
    ASSERT_EQ(files.ReadAll(entry.path.c_str(), buffer, size), kOk);
    EXPECT_EQ(test::Bytes(buffer, buffer + size), entry.content);
    std::free(buffer);
  }
  Stream* stream = nullptr;
  EXPECT_EQ(files.Open(u"data/xml/configuration.xml", stream), kNotFound);
  EXPECT_EQ(files.Open(u"Data\\Xml\\Configuration.xml", stream), kNotFound);
}

}  // namespace
}  // namespace vorn
