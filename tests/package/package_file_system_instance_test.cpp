#include <gtest/gtest.h>

#include "package/package_file_system.h"

namespace vorn {
namespace {

// This test program carries no package resource (on POSIX there is none to
// carry): the process's file system is there, empty, and says why.
TEST(PackageFileSystemInstanceTest, MissingResourceLeavesTheFileSystemEmpty) {
  PackageFileSystem& files = PackageFileSystem::Instance();
  EXPECT_EQ(&files, &PackageFileSystem::Instance());
  EXPECT_EQ(files.EmbeddedResult(), kNotFound);
  EXPECT_EQ(files.ArchiveCount(), 0u);
  Stream* stream = nullptr;
  EXPECT_EQ(files.Open(u"Data/Xml/Configuration.xml", stream), kNotFound);
  EXPECT_EQ(stream, nullptr);
}

}  // namespace
}  // namespace vorn
