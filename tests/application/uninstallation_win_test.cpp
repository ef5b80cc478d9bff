#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "application/support/windows_helpers.h"
#include "application/uninstallation.h"
#include "foundation/folder.h"

namespace vorn {
namespace {

using test::FileExists;
using test::FolderExists;
using test::ReadWholeFile;
using test::TemporaryFolder;
using test::Wide;

std::string Narrow(const String& text) {
  std::string narrow;
  for (uint32_t i = 0; i < text.Length(); ++i) narrow += static_cast<char>(text[i]);
  return narrow;
}

bool Exists(const String& path) {
  return FileExists(path) || FolderExists(path);
}

// Runs the batch with the system's command interpreter and waits for it.
void RunBatch(const String& batch) {
  test::RunAndWait(L"cmd.exe /c \"" + std::wstring(Wide(batch)) + L"\"", CREATE_NO_WINDOW);
}

class UninstallBatchFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = TemporaryFolder() + u"vorn-batch-" +
            test::FromWide(std::to_wstring(GetCurrentProcessId()).c_str()) + u"\\";
    folder_ = root_ + u"Install Folder\\";
    ASSERT_EQ(Folder::Create(folder_.Text()), kOk);
    program_ = folder_ + u"Product Program.exe";
    ASSERT_TRUE(test::WriteSmallFile(program_, "program"));
  }
  void TearDown() override {
    if (!batch_.IsEmpty()) DeleteFileW(Wide(batch_));
    Folder::Remove(root_.Text(), Folder::kRemoveWithShell);
  }

  String root_;
  String folder_;
  String program_;
  String batch_;
};

TEST_F(UninstallBatchFileTest, IsWrittenByteForByteAndRemovesTheProgramAndItsFolder) {
  ASSERT_TRUE(test::WriteSmallFile(folder_ + u"data.txt", "data"));
  ASSERT_EQ(WriteUninstallBatch(folder_, program_, u"Vorn Batch", u"", batch_), kOk);
  const String suffix = u" Vorn Batch Uninstall.cmd";
  ASSERT_GT(batch_.Length(), suffix.Length());
  EXPECT_EQ(batch_.Tail(batch_.Length() - suffix.Length()), suffix);
  EXPECT_EQ(batch_.Find(TemporaryFolder().Text()), 0);
  // The temporary file the name was made from is gone.
  EXPECT_FALSE(Exists(batch_.Left(batch_.Length() - suffix.Length())));

  const std::string folder = Narrow(test::ShortForm(folder_));
  const std::string program = Narrow(test::ShortForm(program_));
  const std::string batch = Narrow(test::ShortForm(batch_));
  ASSERT_FALSE(folder.empty());
  ASSERT_EQ(folder.back(), '\\');
  EXPECT_EQ(ReadWholeFile(batch_), "@echo off\r\ncd\\\r\n:loop\r\ndel \"" + program +
                                       "\"\r\nif exist \"" + program + "\" goto loop\r\ndel \"" +
                                       folder + "*.???\"\r\nrd \"" + folder + "\"\r\ndel \"" +
                                       batch + "\"");

  RunBatch(batch_);
  EXPECT_FALSE(Exists(program_));
  EXPECT_FALSE(Exists(folder_ + u"data.txt"));
  EXPECT_FALSE(Exists(folder_));
  EXPECT_FALSE(Exists(batch_));
  EXPECT_TRUE(Exists(root_));
}

TEST_F(UninstallBatchFileTest, AFolderItCannotSafelyEmptyKeepsEverythingButProgramAndBatch) {
  ASSERT_TRUE(test::WriteSmallFile(folder_ + u"user.txt", "the user's"));
  for (const String& folder : {String(), String(u"C:\\"), String(u"Install Folder\\"),
                               String(root_ + u"No Such Folder\\"), String(folder_ + u"..\\")}) {
    ASSERT_EQ(WriteUninstallBatch(folder, program_, u"Vorn Batch", u"Vorn Co", batch_), kOk);
    const std::string text = ReadWholeFile(batch_);
    EXPECT_EQ(text.find("*.???"), std::string::npos) << text;
    EXPECT_EQ(text.find("rd "), std::string::npos) << text;
    DeleteFileW(Wide(batch_));
  }
  // Run for an empty folder: the program goes, everything else stays.
  ASSERT_EQ(WriteUninstallBatch(String(), program_, u"Vorn Batch", u"Vorn Co", batch_), kOk);
  RunBatch(batch_);
  EXPECT_FALSE(Exists(program_));
  EXPECT_FALSE(Exists(batch_));
  EXPECT_TRUE(Exists(folder_ + u"user.txt"));
}

// The company's folder above the install folder goes with the product's
// folder when nothing else is in it, and stays when it holds something else.
TEST_F(UninstallBatchFileTest, RemovesTheCompanyFolderTheProductLeftEmpty) {
  const String company = root_ + u"Vorn Co\\";
  const String folder = company + u"Vorn Product\\";
  const String program = folder + u"Product Program.exe";
  for (bool shared : {false, true}) {
    ASSERT_EQ(Folder::Create(folder.Text()), kOk);
    ASSERT_TRUE(test::WriteSmallFile(program, "program"));
    if (shared) {
      ASSERT_TRUE(test::WriteSmallFile(company + u"Other Product.txt", "other"));
    }
    ASSERT_EQ(WriteUninstallBatch(folder, program, u"Vorn Batch", u"Vorn Co", batch_), kOk);
    const std::string text = ReadWholeFile(batch_);
    const std::string company_short = Narrow(test::ShortForm(company));
    EXPECT_NE(text.find("\r\nrd \"" + company_short + "\"\r\ndel \""), std::string::npos) << text;
    RunBatch(batch_);
    EXPECT_FALSE(Exists(folder));
    EXPECT_EQ(Exists(company), shared);
    EXPECT_TRUE(Exists(root_));
  }
  // A company that is not a whole folder name of the path adds nothing.
  ASSERT_EQ(Folder::Create(folder.Text()), kOk);
  ASSERT_TRUE(test::WriteSmallFile(program, "program"));
  for (const char16_t* other : {u"Vorn", u"Co", u"Vorn Product", u"Elsewhere"}) {
    ASSERT_EQ(WriteUninstallBatch(folder, program, u"Vorn Batch", other, batch_), kOk);
    const std::string text = ReadWholeFile(batch_);
    EXPECT_EQ(text.find("rd "), text.rfind("rd ")) << text;
    DeleteFileW(Wide(batch_));
  }
}

}  // namespace
}  // namespace vorn
