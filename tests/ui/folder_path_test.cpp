#include "ui/folder_path.h"

#include <gtest/gtest.h>

#include "resources/support/test_package.h"

namespace vorn {
namespace {

TEST(FolderPath, ChosenFoldersEndWithOneSeparatorAndCancelGivesEight) {
  String path = u"stale";
  EXPECT_EQ(FolderPickerResult(true, String(u"C:\\Program Files"), path), kOk);
  EXPECT_EQ(test::Utf8(path), "C:\\Program Files\\");
  EXPECT_EQ(FolderPickerResult(true, String(u"C:\\"), path), kOk);
  EXPECT_EQ(test::Utf8(path), "C:\\");
  EXPECT_EQ(FolderPickerResult(true, String(u"D:/Games/"), path), kOk);
  EXPECT_EQ(test::Utf8(path), "D:/Games/");
  EXPECT_EQ(FolderPickerResult(true, String(u"\\\\server\\share"), path), kOk);
  EXPECT_EQ(test::Utf8(path), "\\\\server\\share\\");

  EXPECT_EQ(FolderPickerResult(false, String(u"C:\\Ignored"), path), kCancelled);
  EXPECT_TRUE(path.IsEmpty());
  // An item without a file-system path is no folder, not the current drive.
  path = u"stale";
  EXPECT_EQ(FolderPickerResult(true, String(), path), kFailed);
  EXPECT_TRUE(path.IsEmpty());
}

TEST(FolderPath, FlagsHideTheNewFolderButtonOnlyWhenAsked) {
  EXPECT_EQ(FolderPickerFlags(true), 0x161u);
  EXPECT_EQ(FolderPickerFlags(false), 0x361u);
}

}  // namespace
}  // namespace vorn
