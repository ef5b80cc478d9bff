#include "foundation/folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "foundation/path.h"
#include "foundation/support/scratch_folder.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::Std;

// A path of nested folders "d\d\...\" of the given depth below base.
String NestedPath(const String& base, int depth, const char16_t* level = u"d") {
  String path = base;
  for (int i = 0; i < depth; ++i) path += String(level) + u'/';
  return path;
}

TEST(FolderCreateTest, CreatesOnlyTheMissingLevelAndAgainSucceeds) {
  ScratchFolder scratch;
  const String folder = scratch.Join(u"first/second/");
  EXPECT_EQ(Folder::Create(folder.Text()), kOk);
  EXPECT_TRUE(fs::is_directory(scratch.FsPath(u"first/second")));
  EXPECT_EQ(Folder::Create(folder.Text()), kOk);
  EXPECT_TRUE(Folder::Exists(folder.Text()));
}

TEST(FolderCreateTest, LastLevelWithoutSeparatorIsCreatedToo) {
  ScratchFolder scratch;
  EXPECT_EQ(Folder::Create(scratch.Join(u"a\\b\\c").Text()), kOk);
  EXPECT_TRUE(fs::is_directory(scratch.FsPath(u"a/b/c")));
}

TEST(FolderNearestExistingTest, WalksUpToTheNearestFolderThatExists) {
  ScratchFolder scratch;
  ASSERT_EQ(Folder::Create(scratch.Join(u"Company/").Text()), kOk);
  scratch.WriteFile(u"Company/file", "x");
  const String company = scratch.Join(u"Company/");
  EXPECT_EQ(Std(Folder::NearestExisting(scratch.Join(u"Company/Product/Bin"))), Std(company));
  EXPECT_EQ(Std(Folder::NearestExisting(scratch.Join(u"Company/Product/"))), Std(company));
  EXPECT_EQ(Std(Folder::NearestExisting(company)), Std(company));
  // A file is not a folder: its own folder is the nearest.
  EXPECT_EQ(Std(Folder::NearestExisting(scratch.Join(u"Company/file"))), Std(company));
  EXPECT_TRUE(Folder::NearestExisting(u"").IsEmpty());
  EXPECT_TRUE(Folder::NearestExisting(u"Nowhere").IsEmpty());
}

TEST(FolderCreateTest, NullOrEmptyPathIsInvalid) {
  EXPECT_EQ(Folder::Create(nullptr), kInvalidPath);
  EXPECT_EQ(Folder::Create(u""), kInvalidPath);
}

TEST(FolderCreateTest, AFileInTheWayIsReportedAndKept) {
  ScratchFolder scratch;
  scratch.WriteFile(u"taken", "content");
  EXPECT_EQ(Folder::Create(scratch.Join(u"taken/").Text()), kAlreadyExists);
  EXPECT_NE(Folder::Create(scratch.Join(u"taken/below/").Text()), kOk);
  EXPECT_TRUE(fs::is_regular_file(scratch.FsPath(u"taken")));
  EXPECT_EQ(scratch.ReadFile(u"taken"), "content");
  EXPECT_FALSE(Folder::Exists(scratch.Join(u"taken/").Text()));
}

TEST(FolderCreateTest, DeepTreesAreCreatedAndRemovedWhole) {
  ScratchFolder scratch;
  // 200 levels: far beyond 260 units on Windows, and deeper than a
  // recursive walk would like on a small stack.
  const String deep = NestedPath(scratch.Path(), 200);
  ASSERT_EQ(Folder::Create(deep.Text()), kOk);
  EXPECT_TRUE(Folder::Exists(deep.Text()));
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Join(u"d/").Text()), kOk);
  EXPECT_FALSE(Folder::Exists(scratch.Join(u"d/").Text()));
}

TEST(FolderCreateTest, ThirtyTwoThousandUnitsGiveAClearCode) {
  ScratchFolder scratch;
  const String one_name = scratch.Path() + String(std::u16string(32000, u'n').c_str()) + u'/';
  const Result single = Folder::Create(one_name.Text());
  EXPECT_NE(single, kOk);
  EXPECT_NE(single, kSystemFailure) << "a known code, not an unspecified failure";
  const String many = NestedPath(scratch.Path(), 320, std::u16string(99, u'x').c_str());
  ASSERT_GE(many.Length(), 32000u);
  EXPECT_NE(Folder::Create(many.Text()), kOk);
  EXPECT_FALSE(Folder::Exists(many.Text()));
  EXPECT_NE(Folder::Remove(many.Text(), Folder::kRemoveOnlyFolder), kOk);
  // Whatever levels the system allowed are empty folders: the empty-tree
  // removal takes them all.
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Path().Text()), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath()));
}

TEST(FolderRemoveTest, EmptyTreeGoesSubfoldersFirst) {
  ScratchFolder scratch;
  ASSERT_EQ(Folder::Create(scratch.Join(u"tree/a/b/").Text()), kOk);
  ASSERT_EQ(Folder::Create(scratch.Join(u"tree/c/").Text()), kOk);
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Join(u"tree/").Text()), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"tree")));
  // Gone already counts as removed.
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Join(u"tree/").Text()), kOk);
}

TEST(FolderRemoveTest, EmptyTreeHoldingAFileKeepsTheFileAndItsFolders) {
  ScratchFolder scratch;
  scratch.WriteFile(u"tree/keep/deeper/file.txt", "precious");
  ASSERT_EQ(Folder::Create(scratch.Join(u"tree/empty/inner/").Text()), kOk);
  EXPECT_EQ(Folder::RemoveEmptyTree(scratch.Join(u"tree/").Text()), kFolderNotEmpty);
  EXPECT_EQ(scratch.ReadFile(u"tree/keep/deeper/file.txt"), "precious");
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"tree/empty")));
  EXPECT_EQ(Folder::Remove(scratch.Join(u"tree/").Text(), Folder::kRemoveRecursive),
            kFolderNotEmpty);
  EXPECT_EQ(scratch.ReadFile(u"tree/keep/deeper/file.txt"), "precious");
}

TEST(FolderRemoveTest, EveryVariantNeedsTheTrailingSeparator) {
  ScratchFolder scratch;
  ASSERT_EQ(Folder::Create(scratch.Join(u"stay/").Text()), kOk);
  const String no_separator = scratch.Join(u"stay");
  EXPECT_EQ(Folder::RemoveEmptyTree(no_separator.Text()), kInvalidArgument);
  for (uint32_t options : {0u, 1u, 2u, 3u}) {
    EXPECT_EQ(Folder::Remove(no_separator.Text(), options), kInvalidArgument) << options;
    EXPECT_EQ(Folder::Remove(nullptr, options), kInvalidArgument) << options;
    EXPECT_EQ(Folder::Remove(u"", options), kInvalidArgument) << options;
  }
  EXPECT_EQ(Folder::RemoveEmptyTree(nullptr), kInvalidArgument);
  EXPECT_TRUE(fs::is_directory(scratch.FsPath(u"stay")));
}

TEST(FolderRemoveTest, OnlyTheFolderItself) {
  ScratchFolder scratch;
  ASSERT_EQ(Folder::Create(scratch.Join(u"full/inner/").Text()), kOk);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"full/").Text(), Folder::kRemoveOnlyFolder),
            kFolderNotEmpty);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"full/inner/").Text(), 0), kOk);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"full/inner/").Text(), 0), kNotFound);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"missing/below/").Text(), 0), kNotFound);
  EXPECT_EQ(Folder::Remove(scratch.Join(u"full\\").Text(), 0), kOk);
}

TEST(FolderRemoveTest, WithEverythingInside) {
  ScratchFolder scratch;
  scratch.WriteFile(u"all/a.txt", "a");
  scratch.WriteFile(u"all/sub/b.bin", "b");
  scratch.WriteFile(u"all/sub/deeper/c", "c");
  ASSERT_EQ(Folder::Create(scratch.Join(u"all/empty/").Text()), kOk);
  scratch.WriteFile(u"neighbour.txt", "n");
  EXPECT_EQ(Folder::Remove(scratch.Join(u"all/").Text(), Folder::kRemoveWithShell), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"all")));
  EXPECT_EQ(scratch.ReadFile(u"neighbour.txt"), "n");
}

TEST(FolderRemoveTest, RootsAndDotPathsAreNeverEmptied) {
  ScratchFolder scratch;
  scratch.WriteFile(u"sub/file", "kept");
  // Drive Q: does not exist here, so a wrong answer could not harm anything.
  for (const char16_t* root :
       {u"Q:\\", u"Q:/", u"\\\\?\\Q:\\", u"\\\\server\\share\\", u"\\\\server\\"}) {
    EXPECT_EQ(Folder::Remove(root, Folder::kRemoveWithShell), kInvalidArgument);
    EXPECT_EQ(Folder::Remove(root, Folder::kRemoveRecursive), kInvalidArgument);
    EXPECT_EQ(Folder::RemoveEmptyTree(root), kInvalidArgument);
  }
  for (const char16_t* dots : {u"sub/../", u"sub/./", u"sub\\..\\"}) {
    const String path = scratch.Join(dots);
    EXPECT_EQ(Folder::Remove(path.Text(), Folder::kRemoveWithShell), kInvalidArgument);
    EXPECT_EQ(Folder::RemoveEmptyTree(path.Text()), kInvalidArgument);
  }
  // Drive-relative forms, whose folder depends on the current folder.
  for (const char16_t* relative : {u"Q:.\\", u"Q:..\\", u"Q:sub/"}) {
    for (uint32_t options : {0u, 1u, 2u}) {
      EXPECT_EQ(Folder::Remove(relative, options), kInvalidArgument) << options;
    }
    EXPECT_EQ(Folder::RemoveEmptyTree(relative), kInvalidArgument);
  }
  EXPECT_EQ(Folder::RemoveFile(u"Q:file"), kInvalidArgument);
  EXPECT_EQ(scratch.ReadFile(u"sub/file"), "kept");
}

TEST(FolderRemoveFileTest, DeletesOneFile) {
  ScratchFolder scratch;
  scratch.WriteFile(u"file.txt", "x");
  scratch.WriteFile(u"other.txt", "y");
  EXPECT_EQ(Folder::RemoveFile(scratch.Join(u"file.txt").Text()), kOk);
  EXPECT_FALSE(fs::exists(scratch.FsPath(u"file.txt")));
  EXPECT_EQ(scratch.ReadFile(u"other.txt"), "y");
  EXPECT_EQ(Folder::RemoveFile(scratch.Join(u"file.txt").Text()), kNotFound);
}

TEST(FolderRemoveFileTest, BadInputs) {
  ScratchFolder scratch;
  ASSERT_EQ(Folder::Create(scratch.Join(u"folder/").Text()), kOk);
  EXPECT_EQ(Folder::RemoveFile(nullptr), kInvalidArgument);
  EXPECT_EQ(Folder::RemoveFile(u""), kInvalidArgument);
  EXPECT_EQ(Folder::RemoveFile(scratch.Join(u"folder").Text()), kAccessDenied);
  EXPECT_TRUE(fs::is_directory(scratch.FsPath(u"folder")));
}

TEST(FolderEnumerateTest, ListsEntriesWithoutDotsThenEnds) {
  ScratchFolder scratch;
  scratch.WriteFile(u"list/a.txt", "12345");
  scratch.WriteFile(u"list/noextension", "");
  ASSERT_EQ(Folder::Create(scratch.Join(u"list/sub").Text()), kOk);
  Folder folder(scratch.Join(u"list").Text());
  EXPECT_TRUE(path::EndsWithSeparator(folder.Path()));
  std::set<std::u16string> names;
  std::set<std::u16string> paths;
  Result result;
  while ((result = folder.Next()) == kOk) {
    String name;
    String full;
    ASSERT_EQ(folder.EntryName(name), kOk);
    ASSERT_EQ(folder.EntryPath(full), kOk);
    EXPECT_EQ(folder.EntryIsFolder(), Std(name) == u"sub/");
    if (Std(name) == u"a.txt") {
      EXPECT_EQ(folder.Entry().size, 5u);
    }
    EXPECT_GT(folder.Entry().last_write_time.ToCivil().year, 2000);
    names.insert(Std(name));
    paths.insert(Std(full));
  }
  EXPECT_EQ(result, kNoMoreItems);
  EXPECT_EQ(names, (std::set<std::u16string>{u"a.txt", u"noextension", u"sub/"}));
  const std::u16string base = Std(folder.Path());
  EXPECT_EQ(paths,
            (std::set<std::u16string>{base + u"a.txt", base + u"noextension", base + u"sub/"}));
  EXPECT_EQ(folder.Next(), kNoMoreItems);
  String name = u"stale";
  EXPECT_EQ(folder.EntryName(name), kNotOpen);
  EXPECT_TRUE(name.IsEmpty());
  // Setting the path again starts over.
  ASSERT_EQ(folder.SetPath(scratch.Join(u"list/").Text()), kOk);
  EXPECT_EQ(folder.Next(), kOk);
}

TEST(FolderEnumerateTest, EmptyMissingAndNullFolders) {
  ScratchFolder scratch;
  ASSERT_EQ(Folder::Create(scratch.Join(u"empty/").Text()), kOk);
  Folder empty(scratch.Join(u"empty/").Text());
  EXPECT_EQ(empty.Next(), kNoMoreItems);
  Folder missing(scratch.Join(u"missing/").Text());
  const Result result = missing.Next();
  EXPECT_NE(result, kOk);
  EXPECT_NE(result, kNoMoreItems);
  EXPECT_EQ(missing.Next(), kNoMoreItems);
  Folder none;
  EXPECT_EQ(none.SetPath(nullptr), kInvalidPath);
  EXPECT_EQ(none.SetPath(u""), kInvalidPath);
  EXPECT_EQ(none.Next(), kInvalidPath);
}

TEST(FolderEnumerateTest, SeparatorIsAppendedInThePathsOwnStyle) {
  Folder folder;
  ASSERT_EQ(folder.SetPath(u"C:\\a\\b"), kOk);
  EXPECT_EQ(Std(folder.Path()), u"C:\\a\\b\\");
  ASSERT_EQ(folder.SetPath(u"a/b"), kOk);
  EXPECT_EQ(Std(folder.Path()), u"a/b/");
  ASSERT_EQ(folder.SetPath(u"x/"), kOk);
  EXPECT_EQ(Std(folder.Path()), u"x/");
}

}  // namespace
}  // namespace vorn
