#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/folder.h"
#include "foundation/path.h"
#include "foundation/special_folder.h"
#include "foundation/support/scratch_folder.h"

namespace vorn {
namespace {

using testing::Std;

TEST(SpecialFolderWinTest, FoldersAreNormalizedAndEndWithABackslash) {
  for (uint32_t number = 3; number <= 10; ++number) {
    String folder;
    ASSERT_EQ(GetSpecialFolder(number, folder), kOk) << number;
    ASSERT_FALSE(folder.IsEmpty()) << number;
    EXPECT_EQ(folder[folder.Length() - 1], u'\\') << number;
    EXPECT_EQ(Std(path::NormalizeSeparators(folder)), Std(folder)) << number;
    EXPECT_FALSE(path::IsRelative(folder)) << number;
  }
}

TEST(SpecialFolderWinTest, QuickLaunchIsBelowTheUsersApplicationData) {
  String data;
  String quick_launch;
  ASSERT_EQ(GetSpecialFolder(kUserApplicationDataFolder, data), kOk);
  ASSERT_EQ(GetSpecialFolder(kQuickLaunchFolder, quick_launch), kOk);
  EXPECT_EQ(Std(quick_launch), Std(data) + u"Microsoft\\Internet Explorer\\Quick Launch\\");
}

TEST(SpecialFolderWinTest, TemporaryFolderExists) {
  String first;
  String second;
  ASSERT_EQ(GetSpecialFolder(kTemporaryFolder, first), kOk);
  ASSERT_EQ(GetSpecialFolder(kTemporaryFolderToo, second), kOk);
  EXPECT_EQ(Std(first), Std(second));
  EXPECT_TRUE(path::EndsWithSeparator(first));
  EXPECT_TRUE(Folder::Exists(first.Text()));
}

TEST(SpecialFolderWinTest, NewTemporaryFilesAreCreatedWithTheirPrefix) {
  String folder;
  String first;
  String second;
  ASSERT_EQ(GetSpecialFolder(kTemporaryFolder, folder), kOk);
  ASSERT_EQ(GetSpecialFolder(kNewTemporaryFile, first), kOk);
  ASSERT_EQ(GetSpecialFolder(kNewTemporaryFile, second), kOk);
  EXPECT_NE(Std(first), Std(second));
  EXPECT_TRUE(path::SameFolder(path::FolderPart(first), folder));
  EXPECT_EQ(Std(path::FileName(first)).rfind(u"vnl", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(Std(first))));
  EXPECT_EQ(Folder::RemoveFile(first.Text()), kOk);
  EXPECT_EQ(Folder::RemoveFile(second.Text()), kOk);
}

TEST(SpecialFolderWinTest, UnknownNumbersGiveNothing) {
  for (uint32_t number : {11u, 12u, 0xFFFFFFFFu}) {
    String folder = u"stale";
    EXPECT_EQ(GetSpecialFolder(number, folder), kInvalidArgument);
    EXPECT_TRUE(folder.IsEmpty());
  }
}

}  // namespace
}  // namespace vorn
