#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "foundation/folder.h"
#include "foundation/path.h"
#include "foundation/support/scratch_folder.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::Std;

const wchar_t* Wide(const String& text) {
  return reinterpret_cast<const wchar_t*>(text.Text());
}

String LongForm(const String& path) {
  return u"\\\\?\\" + path;
}

// A path of about 400 units below the scratch folder, '/' between levels.
String LongFolder(const ScratchFolder& scratch) {
  String path = scratch.Path();
  for (int i = 0; i < 8; ++i) path += String(std::u16string(45, u'a' + i).c_str()) + u'/';
  return path;
}

bool WriteLongFile(const String& path) {
  String backslashed = LongForm(path);
  backslashed.Replace(u'/', u'\\');
  const HANDLE file = CreateFileW(Wide(backslashed), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, "data", 4, &written, nullptr) && written == 4;
  CloseHandle(file);
  return ok;
}

TEST(FolderWinTest, PathsBeyond260UnitsAreCreatedListedAndRemoved) {
  ScratchFolder scratch;
  const String deep = LongFolder(scratch);
  ASSERT_GT(deep.Length(), 400u);
  ASSERT_EQ(Folder::Create(deep.Text()), kOk);
  EXPECT_TRUE(Folder::Exists(deep.Text()));
  ASSERT_TRUE(WriteLongFile(deep + u"file.txt"));
  Folder folder(deep.Text());
  ASSERT_EQ(folder.Next(), kOk);
  String name;
  ASSERT_EQ(folder.EntryName(name), kOk);
  EXPECT_EQ(Std(name), u"file.txt");
  EXPECT_EQ(folder.Entry().size, 4u);
  EXPECT_EQ(folder.Next(), kNoMoreItems);
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Join(u"").Text()), kFolderNotEmpty);
  EXPECT_EQ(Folder::RemoveFile(String(deep + u"file.txt").Text()), kOk);
  EXPECT_EQ(Folder::Remove(scratch.Path().Text(), Folder::kRemoveRecursive), kOk);
  EXPECT_FALSE(Folder::Exists(scratch.Path().Text()));
}

TEST(FolderWinTest, LongFormInputIsTakenAsItIs) {
  ScratchFolder scratch;
  const String folder = LongForm(scratch.Join(u"x\\y\\"));
  EXPECT_EQ(Folder::Create(folder.Text()), kOk);
  EXPECT_TRUE(fs::is_directory(scratch.FsPath(u"x/y")));
  EXPECT_EQ(Folder::Remove(folder.Text(), Folder::kRemoveOnlyFolder), kOk);
  EXPECT_EQ(Folder::Remove(LongForm(scratch.Join(u"x\\")).Text(), Folder::kRemoveWithShell), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"x")));
}

TEST(FolderWinTest, RelativePathsAreResolvedAgainstTheCurrentFolder) {
  ScratchFolder scratch;
  wchar_t before[MAX_PATH + 1];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH + 1, before), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(Wide(scratch.Path())));
  const Result created = Folder::Create(u"relative/inner/../second");
  const Result removed = Folder::Remove(u"relative\\", Folder::kRemoveRecursive);
  SetCurrentDirectoryW(before);
  EXPECT_EQ(created, kOk);
  EXPECT_EQ(removed, kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"relative")));
}

// "C:.\\" and "C:..\\" are the current folder of drive C: and its parent:
// no removal may take them, whatever the operation.
TEST(FolderWinTest, DriveRelativeAndResolvedRootsAreNeverRemoved) {
  ScratchFolder scratch;
  scratch.WriteFile(u"work/keep.txt", "kept");
  scratch.WriteFile(u"work/empty/.placeholder", "");
  fs::remove(scratch.FsPath(u"work/empty/.placeholder"));
  scratch.WriteFile(u"beside.txt", "kept");
  const String drive = scratch.Path().Left(2);
  ASSERT_EQ(drive[1], u':');
  wchar_t before[MAX_PATH + 1];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH + 1, before), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(Wide(scratch.Join(u"work"))));
  const String here = drive + u".\\";
  const String up = drive + u"..\\";
  Result results[] = {
      Folder::Remove(here.Text(), Folder::kRemoveWithShell),
      Folder::Remove(up.Text(), Folder::kRemoveWithShell),
      Folder::Remove(here.Text(), Folder::kRemoveRecursive),
      Folder::Remove(String(drive + u"empty\\").Text(), Folder::kRemoveOnlyFolder),
      Folder::Remove(String(drive + u"/").Text(), Folder::kRemoveWithShell),
      Folder::RemoveEmptyTree(up.Text()),
      Folder::RemoveFile(String(drive + u"keep.txt").Text()),
  };
  SetCurrentDirectoryW(before);
  for (const Result result : results) EXPECT_EQ(result, kInvalidArgument);
  EXPECT_EQ(scratch.ReadFile(u"work/keep.txt"), "kept");
  EXPECT_EQ(scratch.ReadFile(u"beside.txt"), "kept");
  EXPECT_TRUE(fs::is_directory(scratch.FsPath(u"work/empty")));
  // The same folders named in full are removed as asked.
  EXPECT_EQ(Folder::Remove(scratch.Join(u"work\\empty\\").Text(), Folder::kRemoveOnlyFolder), kOk);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"work\\").Text(), Folder::kRemoveWithShell), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"work")));
}

TEST(FolderWinTest, NetworkPathsWithMixedSeparatorsAreInvalid) {
  EXPECT_FALSE(path::IsValid(u"\\/server\\share"));
  EXPECT_FALSE(path::IsValid(u"/\\server/share"));
  EXPECT_FALSE(path::IsValid(u"C:\\dir/\\name"));
  EXPECT_TRUE(path::IsValid(u"C:\\dir/name"));
}

TEST(FolderWinTest, ShellRemovalTakesReadOnlyFilesToo) {
  ScratchFolder scratch;
  scratch.WriteFile(u"tree/locked.txt", "x");
  scratch.WriteFile(u"tree/sub/other.txt", "y");
  ASSERT_TRUE(SetFileAttributesW(Wide(scratch.Join(u"tree\\locked.txt")), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Folder::Remove(scratch.Join(u"tree/").Text(), Folder::kRemoveWithShell), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"tree")));
}

TEST(FolderWinTest, ShellRemovalRefusesWildcardsAndReportsFailure) {
  ScratchFolder scratch;
  scratch.WriteFile(u"ab/file", "kept");
  scratch.WriteFile(u"ac/file", "kept");
  // The shell would expand these to every matching folder.
  EXPECT_EQ(Folder::Remove(scratch.Join(u"a*\\").Text(), Folder::kRemoveWithShell),
            kInvalidArgument);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"a?\\").Text(), Folder::kRemoveWithShell),
            kInvalidArgument);
  EXPECT_EQ(scratch.ReadFile(u"ab/file"), "kept");
  EXPECT_EQ(scratch.ReadFile(u"ac/file"), "kept");
  EXPECT_EQ(Folder::Remove(scratch.Join(u"missing\\").Text(), Folder::kRemoveWithShell), kFailed);
}

TEST(FolderWinTest, PathsBeyondTheSystemsLimitAreInvalid) {
  ScratchFolder scratch;
  String beyond = scratch.Path();
  for (int i = 0; i < 400; ++i) beyond += String(std::u16string(99, u'x').c_str()) + u'\\';
  ASSERT_GT(beyond.Length(), 32767u);
  EXPECT_EQ(Folder::Create(beyond.Text()), kInvalidPath);
  EXPECT_EQ(Folder::RemoveEmptyTree(beyond.Text()), kInvalidPath);
  EXPECT_EQ(Folder::Remove(beyond.Text(), Folder::kRemoveOnlyFolder), kInvalidPath);
  EXPECT_EQ(Folder::RemoveFile(String(beyond + u"file").Text()), kInvalidPath);
  EXPECT_FALSE(Folder::Exists(beyond.Text()));
  const String prefixed = LongForm(beyond);
  EXPECT_EQ(Folder::Create(prefixed.Text()), kInvalidPath);
  EXPECT_TRUE(fs::is_empty(scratch.FsPath())) << "nothing was created on the way";
}

}  // namespace
}  // namespace vorn
