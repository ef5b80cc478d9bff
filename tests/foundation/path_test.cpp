#include "foundation/path.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/support/scratch_folder.h"

namespace vorn {
namespace {

using testing::Std;

TEST(PathNormalizeTest, TrimsAndUsesTheFirstSeparatorEverywhere) {
  EXPECT_EQ(Std(path::NormalizeSeparators(u"  a/b\\c\\d  ")), u"a/b/c/d");
  EXPECT_EQ(Std(path::NormalizeSeparators(u"\tC:\\x/y/z \r\n")), u"C:\\x\\y\\z");
  EXPECT_EQ(Std(path::NormalizeSeparators(u" name ")), u"name");
  EXPECT_EQ(Std(path::NormalizeSeparators(u"")), u"");
  EXPECT_EQ(Std(path::NormalizeSeparators(u"   ")), u"");
}

TEST(PathPartsTest, FileNameExtensionAndFolderOfADottedName) {
  const String file = u"a/b.c.d";
  EXPECT_EQ(Std(path::FileName(file)), u"b.c.d");
  EXPECT_EQ(Std(path::FileNameWithoutExtension(file)), u"b");
  EXPECT_EQ(path::ExtensionIndex(file), 3u);
  EXPECT_EQ(Std(path::FolderPart(file)), u"a/");
}

TEST(PathPartsTest, DotsInFoldersDoNotCountAsExtensions) {
  const String file = u"C:\\dir.v2\\readme";
  EXPECT_EQ(path::ExtensionIndex(file), file.Length());
  EXPECT_EQ(Std(path::FileNameWithoutExtension(file)), u"readme");
  EXPECT_EQ(Std(path::FolderPart(file)), u"C:\\dir.v2\\");
}

TEST(PathPartsTest, PathsWithoutSeparatorOrName) {
  EXPECT_EQ(Std(path::FileName(u"plain.txt")), u"plain.txt");
  EXPECT_EQ(Std(path::FolderPart(u"plain.txt")), u"");
  EXPECT_EQ(Std(path::FileName(u"folder/")), u"");
  EXPECT_EQ(Std(path::FileNameWithoutExtension(u"folder/")), u"");
  EXPECT_EQ(path::ExtensionIndex(u"folder/"), 7u);
  EXPECT_EQ(Std(path::FileNameWithoutExtension(u"x/.hidden")), u"");
  EXPECT_EQ(Std(path::FileName(u"")), u"");
  EXPECT_EQ(path::ExtensionIndex(u""), 0u);
}

TEST(PathPartsTest, EndsWithSeparatorAndTrailingSeparatorRule) {
  EXPECT_TRUE(path::EndsWithSeparator(u"a/"));
  EXPECT_TRUE(path::EndsWithSeparator(u"a\\"));
  EXPECT_FALSE(path::EndsWithSeparator(u"a"));
  EXPECT_FALSE(path::EndsWithSeparator(u""));
  EXPECT_EQ(Std(path::WithTrailingSeparator(u"C:\\a")), u"C:\\a\\");
  EXPECT_EQ(Std(path::WithTrailingSeparator(u"a/b")), u"a/b/");
  EXPECT_EQ(Std(path::WithTrailingSeparator(u"a\\b/c")), u"a\\b/c\\");
  EXPECT_EQ(Std(path::WithTrailingSeparator(u"a/")), u"a/");
  EXPECT_EQ(Std(path::WithTrailingSeparator(u"x")), u"x/");
}

TEST(PathKindTest, RelativePaths) {
  EXPECT_FALSE(path::IsRelative(u"\\a"));
  EXPECT_FALSE(path::IsRelative(u"/a"));
  EXPECT_FALSE(path::IsRelative(u"C:"));
  EXPECT_FALSE(path::IsRelative(u"c:relative"));
  EXPECT_TRUE(path::IsRelative(u"a/b"));
  EXPECT_TRUE(path::IsRelative(u"1:"));
  EXPECT_TRUE(path::IsRelative(u""));
}

TEST(PathKindTest, ValidPaths) {
  EXPECT_TRUE(path::IsValid(u"C:\\Program Files\\Vorn"));
  EXPECT_TRUE(path::IsValid(u"C:relative\\name"));
  EXPECT_TRUE(path::IsValid(u"/usr/local/"));
  EXPECT_FALSE(path::IsValid(u""));
  EXPECT_FALSE(path::IsValid(u"\\\\server\\share"));
  EXPECT_FALSE(path::IsValid(u"a//b"));
  // Two separators in a row of either kind: "\\/server\\share" is a
  // network path too.
  EXPECT_FALSE(path::IsValid(u"\\/server\\share"));
  EXPECT_FALSE(path::IsValid(u"a/\\b"));
  EXPECT_TRUE(path::IsValid(u"C:\\a/b\\c"));
  EXPECT_FALSE(path::IsValid(u"C:\\a:b"));
  EXPECT_FALSE(path::IsValid(u"1:\\a"));
  for (const char16_t* bad : {u"a\"b", u"a*", u"<a", u"a>", u"a?", u"a|b"}) {
    EXPECT_FALSE(path::IsValid(bad)) << Std(String(bad)).size();
  }
  // A 0 unit inside would cut the path short at the system.
  EXPECT_FALSE(path::IsValid(String(u"C:\\a\0b", 6)));
}

TEST(PathKindTest, DriveRelativePaths) {
  for (const char16_t* relative : {u"C:", u"C:.\\", u"c:..\\", u"C:x", u"z:a/b"}) {
    EXPECT_TRUE(path::IsDriveRelative(relative)) << Std(String(relative)).size();
  }
  for (const char16_t* other : {u"C:\\", u"C:/x", u"\\x", u"x", u"1:x", u"", u"C"}) {
    EXPECT_FALSE(path::IsDriveRelative(other)) << Std(String(other)).size();
  }
}

TEST(PathKindTest, SameFolder) {
  EXPECT_TRUE(path::SameFolder(u" C:\\Program Files\\Vorn\\ ", u"c:/program files/vorn/"));
  EXPECT_FALSE(path::SameFolder(u"C:\\a\\", u"C:\\a"));
  EXPECT_FALSE(path::SameFolder(u"C:\\a\\", u"C:\\b\\"));
  EXPECT_TRUE(path::SameFolder(u"", u"  "));
}

TEST(PathLongTest, ThirtyTwoThousandUnitsAreHandledWholly) {
  std::u16string text;
  for (int i = 0; i < 3200; ++i) text += u"abcd.efgh\\";
  text += u"name.ext";
  const String path(text.c_str());
  EXPECT_EQ(path.Length(), 32008u);
  EXPECT_EQ(Std(path::FileName(path)), u"name.ext");
  EXPECT_EQ(path::ExtensionIndex(path), 32004u);
  EXPECT_EQ(path::FolderPart(path).Length(), 32000u);
  EXPECT_TRUE(path::IsValid(path));
  const String normalized = path::NormalizeSeparators(u" /" + path);
  EXPECT_EQ(normalized.Find(u'\\'), -1);
  EXPECT_EQ(normalized.Length(), 32009u);
}

}  // namespace
}  // namespace vorn
