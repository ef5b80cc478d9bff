#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "foundation/special_folder.h"
#include "foundation/support/scratch_folder.h"

namespace vorn {
namespace {

using testing::Std;

// Sets TMPDIR for one test and restores it afterwards.
class TemporaryVariable {
 public:
  explicit TemporaryVariable(const char* value) {
    const char* old = getenv("TMPDIR");
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value != nullptr) {
      setenv("TMPDIR", value, 1);
    } else {
      unsetenv("TMPDIR");
    }
  }
  ~TemporaryVariable() {
    if (had_) {
      setenv("TMPDIR", old_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

 private:
  bool had_ = false;
  std::string old_;
};

TEST(SpecialFolderPosixTest, TemporaryFolderFromTheEnvironment) {
  String folder;
  {
    TemporaryVariable variable(nullptr);
    EXPECT_EQ(GetSpecialFolder(kTemporaryFolder, folder), kOk);
    EXPECT_EQ(Std(folder), u"/tmp/");
  }
  {
    TemporaryVariable variable("  /var/tmp  ");
    EXPECT_EQ(GetSpecialFolder(kTemporaryFolderToo, folder), kOk);
    EXPECT_EQ(Std(folder), u"/var/tmp/");
  }
  {
    TemporaryVariable variable(std::string(600, 'x').c_str());
    EXPECT_EQ(GetSpecialFolder(kTemporaryFolder, folder), kOk);
    EXPECT_EQ(Std(folder), u"./");
  }
}

TEST(SpecialFolderPosixTest, NewTemporaryFilesAreUniqueAndExist) {
  testing::ScratchFolder scratch;
  TemporaryVariable variable(Utf8Text(scratch.Path()).Text());
  String first;
  String second;
  ASSERT_EQ(GetSpecialFolder(kNewTemporaryFile, first), kOk);
  ASSERT_EQ(GetSpecialFolder(kNewTemporaryFile, second), kOk);
  EXPECT_NE(Std(first), Std(second));
  EXPECT_EQ(Std(first).rfind(Std(scratch.Path()) + u"vnl", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(Std(first))));
}

TEST(SpecialFolderPosixTest, FailuresAndOtherNumbersLeaveThePathEmpty) {
  String path = u"stale";
  {
    TemporaryVariable variable("/nonexistent-vorn-folder");
    EXPECT_EQ(GetSpecialFolder(kNewTemporaryFile, path), kNotFound);
    EXPECT_TRUE(path.IsEmpty());
  }
  for (uint32_t number = 3; number <= 10; ++number) {
    path = u"stale";
    EXPECT_EQ(GetSpecialFolder(number, path), kNotSupported);
    EXPECT_TRUE(path.IsEmpty());
  }
  path = u"stale";
  EXPECT_EQ(GetSpecialFolder(11, path), kInvalidArgument);
  EXPECT_TRUE(path.IsEmpty());
}

}  // namespace
}  // namespace vorn
