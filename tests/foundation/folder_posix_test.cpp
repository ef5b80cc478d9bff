#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "foundation/folder.h"
#include "foundation/support/scratch_folder.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

TEST(FolderPosixTest, RemovalNeverFollowsALinkOutOfTheTree) {
  ScratchFolder scratch;
  scratch.WriteFile(u"outside/precious.txt", "keep me");
  ASSERT_EQ(Folder::Create(scratch.Join(u"tree/sub/").Text()), kOk);
  fs::create_directory_symlink(scratch.FsPath(u"outside"), scratch.FsPath(u"tree/sub/link"));
  // The empty-tree removal keeps the link like a file.
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Join(u"tree/").Text()), kFolderNotEmpty);
  EXPECT_TRUE(fs::is_symlink(scratch.FsPath(u"tree/sub/link")));
  // The full removal deletes the link itself, not what it points to.
  EXPECT_EQ(Folder::Remove(scratch.Join(u"tree/").Text(), Folder::kRemoveWithShell), kOk);
  EXPECT_FALSE(fs::exists(fs::symlink_status(scratch.FsPath(u"tree"))));
  EXPECT_EQ(scratch.ReadFile(u"outside/precious.txt"), "keep me");
}

TEST(FolderPosixTest, BackslashesAreSeparatorsToo) {
  ScratchFolder scratch;
  EXPECT_EQ(Folder::Create(scratch.Join(u"a\\b\\").Text()), kOk);
  EXPECT_TRUE(fs::is_directory(scratch.FsPath(u"a/b")));
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Join(u"a\\").Text()), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"a")));
}

TEST(FolderPosixTest, RelativePathsFollowTheCurrentFolder) {
  ScratchFolder scratch;
  const fs::path before = fs::current_path();
  fs::current_path(scratch.FsPath());
  const Result created = Folder::Create(u"relative/inner");
  const bool exists = fs::is_directory(scratch.FsPath(u"relative/inner"));
  const Result removed = Folder::RemoveEmptyTree(u"relative/");
  fs::current_path(before);
  EXPECT_EQ(created, kOk);
  EXPECT_TRUE(exists);
  EXPECT_EQ(removed, kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"relative")));
}

TEST(FolderPosixTest, AFolderWithoutWriteAccessStays) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  ScratchFolder scratch;
  scratch.WriteFile(u"locked/inner/file", "x");
  fs::permissions(scratch.FsPath(u"locked/inner"), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"locked/").Text(), Folder::kRemoveWithShell),
            kAccessDenied);
  EXPECT_EQ(scratch.ReadFile(u"locked/inner/file"), "x");
  fs::permissions(scratch.FsPath(u"locked/inner"), fs::perms::owner_all);
}

}  // namespace
}  // namespace vorn
