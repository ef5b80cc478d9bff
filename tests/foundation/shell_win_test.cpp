#include <gtest/gtest.h>

#include "foundation/shell_run.h"

namespace vorn {
namespace {

TEST(ShellRunTest, WaitingGivesTheProgramsExitCode) {
  EXPECT_EQ(ShellRun(u"cmd.exe", u"/c exit 7", true, u"open"), 7u);
  uint32_t exit_code = 99;
  EXPECT_EQ(ShellRunForExitCode(u"cmd.exe", u"/c exit 3", true, u"open", exit_code), kOk);
  EXPECT_EQ(exit_code, 3u);
  EXPECT_EQ(ShellRun(u"cmd.exe", u"/c exit 0", true, nullptr), kOk);
}

TEST(ShellRunTest, WithoutWaitingTheResultIsZero) {
  EXPECT_EQ(ShellRun(u"cmd.exe", u"/c exit 5", false, u"open"), kOk);
  uint32_t exit_code = 99;
  EXPECT_EQ(ShellRunForExitCode(u"cmd.exe", u"/c exit 5", false, u"open", exit_code), kOk);
  EXPECT_EQ(exit_code, 0u);
}

TEST(ShellRunTest, RefusalsAndBadInput) {
  EXPECT_EQ(ShellRun(nullptr, u"", true, u"open"), kInvalidArgument);
  EXPECT_EQ(ShellRun(nullptr, nullptr, false, nullptr), kInvalidArgument);
  uint32_t exit_code = 99;
  EXPECT_EQ(
      ShellRunForExitCode(u"C:\\windows\\no-such-program.exe", nullptr, true, u"open", exit_code),
      kNotFound);
  EXPECT_EQ(exit_code, 0u);
  EXPECT_EQ(ShellRun(u"C:\\no\\such\\folder\\program.exe", nullptr, true, u"open"), kInvalidPath);
}

TEST(ShellRunTest, ElevatedRunsWaitForTheChild) {
  // The installer's parent waits for its elevated child and reads 41 from it.
  EXPECT_EQ(ShellRunElevated(u"cmd.exe", u"/c exit 41"), 41u);
}

TEST(ShellRunTest, ElevationFlagAndOwnerWindow) {
  // Processes under Wine run with an elevated token.
  EXPECT_TRUE(IsElevated());
  EXPECT_EQ(ShellRunOwnerWindow(), nullptr);
  int stand_in = 0;
  SetShellRunOwnerWindow(&stand_in);
  EXPECT_EQ(ShellRunOwnerWindow(), &stand_in);
  SetShellRunOwnerWindow(nullptr);
}

}  // namespace
}  // namespace vorn
