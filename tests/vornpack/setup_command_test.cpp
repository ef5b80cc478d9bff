// `vornpack setup`: the command around the embedder. A bad stub or package
// gives one message naming it, and no output file, not even a partial one.
#include <gtest/gtest.h>

#include "archive_file.h"
#include "tool_text.h"
#include "vornpack/support/test_pe.h"
#include "vornpack/support/tool_fixture.h"

namespace vornpack_test {
namespace {

class SetupCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(temp_.Path() / "pkg/Data/Xml/Configuration.xml", std::string("<Resources/>"));
    WriteFile(temp_.Path() / "pkg/Product/app.exe", TextBytes(50000, 1));
    ASSERT_EQ(
        RunTool({"build", temp_("pkg"), "-o", temp_("p.kelp"), "--quiet", "--no-check"}).status, 0);
    WriteFile(temp_.Path() / "stub.exe", BuildTestPe(TestPeOptions{}));
  }
  RunResult Setup(const std::string& stub, const std::string& package) {
    return RunTool({"setup", "--stub", stub, "--package", package, "-o", temp_("Setup.exe")});
  }
  TempFolder temp_;
};

TEST_F(SetupCommandTest, WritesAnExecutableCarryingThePackage) {
  RunResult run = Setup(temp_("stub.exe"), temp_("p.kelp"));
  ASSERT_EQ(run.status, 0) << run.error;
  EXPECT_NE(run.out.find("as RCDATA 4096"), std::string::npos) << run.out;
  vornpack::ArchiveFile carried;
  std::string error;
  ASSERT_EQ(carried.Load(vornpack::FromUtf8(temp_("Setup.exe")), error), vorn::kOk) << error;
  EXPECT_TRUE(carried.FromExecutable());
  EXPECT_EQ(Bytes(carried.Data(), carried.Data() + carried.Size()),
            ReadFile(temp_.Path() / "p.kelp"));
  // The result serves as the stub of the next package.
  WriteFile(temp_.Path() / "pkg/Product/more.txt", TextBytes(100, 2));
  ASSERT_EQ(RunTool({"build", temp_("pkg"), "-o", temp_("q.kelp"), "--quiet", "--no-check"}).status,
            0);
  fs::rename(temp_.Path() / "Setup.exe", temp_.Path() / "old.exe");
  ASSERT_EQ(Setup(temp_("old.exe"), temp_("q.kelp")).status, 0);
  ASSERT_EQ(carried.Load(vornpack::FromUtf8(temp_("Setup.exe")), error), vorn::kOk) << error;
  EXPECT_EQ(Bytes(carried.Data(), carried.Data() + carried.Size()),
            ReadFile(temp_.Path() / "q.kelp"));
}

TEST_F(SetupCommandTest, RefusesBadStubsAndPackagesWritingNothing) {
  TestPeOptions full;
  full.headers_full = true;
  WriteFile(temp_.Path() / "full.exe", BuildTestPe(full));
  WriteFile(temp_.Path() / "text.exe", std::string("MZ but nothing more"));
  Bytes broken = ReadFile(temp_.Path() / "p.kelp");
  broken[30] ^= 1;  // the header checksum
  WriteFile(temp_.Path() / "broken.kelp", broken);
  struct Case {
    std::string stub, package;
    std::string names;
    const char* says;
  };
  const std::vector<Case> cases = {
      {temp_("none.exe"), temp_("p.kelp"), temp_("none.exe"), "does not exist"},
      {temp_(), temp_("p.kelp"), temp_(), "does not exist"},
      {temp_("text.exe"), temp_("p.kelp"), temp_("text.exe"), "as the stub"},
      {temp_("p.kelp"), temp_("p.kelp"), temp_("p.kelp"), "not a Windows executable"},
      {temp_("full.exe"), temp_("p.kelp"), temp_("full.exe"), "no room"},
      {temp_("stub.exe"), temp_("none.kelp"), temp_("none.kelp"), "cannot read"},
      {temp_("stub.exe"), temp_("broken.kelp"), temp_("broken.kelp"), "checksum"},
      {temp_("stub.exe"), temp_("stub.exe"), temp_("stub.exe"), "carries no package"},
  };
  const size_t files_before = FilesBelow(temp_.Path()).size();
  for (const Case& c : cases) {
    RunResult run = Setup(c.stub, c.package);
    EXPECT_EQ(run.status, 1) << c.says;
    EXPECT_NE(run.error.find(c.names), std::string::npos) << run.error;
    EXPECT_NE(run.error.find(c.says), std::string::npos) << run.error;
    EXPECT_EQ(FilesBelow(temp_.Path()).size(), files_before) << run.error;
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"setup", "--stub", temp_("stub.exe"), "-o", temp_("S.exe")},
        std::vector<std::string>{"setup", "--stub", temp_("stub.exe"), "--package",
                                 temp_("p.kelp")}}) {
    RunResult run = RunTool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.error.find("setup needs --"), std::string::npos) << run.error;
  }
  EXPECT_EQ(FilesBelow(temp_.Path()).size(), files_before);
}

}  // namespace
}  // namespace vornpack_test
