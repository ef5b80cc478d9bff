#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "application/uninstallation.h"
#include "foundation/folder.h"

namespace vorn {
namespace {

const wchar_t* Wide(const String& text) { return reinterpret_cast<const wchar_t*>(text.Text()); }

String TemporaryFolder() {
  wchar_t buffer[MAX_PATH];
  GetTempPathW(MAX_PATH, buffer);
  return String(reinterpret_cast<const char16_t*>(buffer));
}

std::string ShortForm(const String& path) {
  char buffer[MAX_PATH];
  wchar_t wide[MAX_PATH];
  const DWORD length = GetShortPathNameW(Wide(path), wide, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, MAX_PATH, nullptr, nullptr);
  return buffer;
}

bool Exists(const String& path) { return GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES; }

void WriteFileText(const String& path, const char* text) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  CloseHandle(file);
}

std::string ReadFileBytes(const String& path) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[4096];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(file);
  return std::string(buffer, got);
}

// Runs the batch with the system's command interpreter and waits for it.
DWORD RunBatch(const String& batch) {
  std::wstring command = L"cmd.exe /c \"" + std::wstring(Wide(batch)) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return 9999;
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return exit_code;
}

class UninstallBatchFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = TemporaryFolder() + u"vorn-batch-" +
            String(reinterpret_cast<const char16_t*>(std::to_wstring(GetCurrentProcessId()).c_str())) +
            u"\\";
    folder_ = root_ + u"Install Folder\\";
    ASSERT_EQ(Folder::Create(folder_.Text()), kOk);
    program_ = folder_ + u"Product Program.exe";
    WriteFileText(program_, "program");
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
  WriteFileText(folder_ + u"data.txt", "data");
  ASSERT_EQ(WriteUninstallBatch(folder_, program_, u"Vorn Batch", batch_), kOk);
  const String suffix = u" Vorn Batch Uninstall.cmd";
  ASSERT_GT(batch_.Length(), suffix.Length());
  EXPECT_EQ(batch_.Tail(batch_.Length() - suffix.Length()), suffix);
  EXPECT_EQ(batch_.Find(TemporaryFolder().Text()), 0);
  // The temporary file the name was made from is gone.
  EXPECT_FALSE(Exists(batch_.Left(batch_.Length() - suffix.Length())));

  const std::string folder = ShortForm(folder_);
  const std::string program = ShortForm(program_);
  const std::string batch = ShortForm(batch_);
  ASSERT_FALSE(folder.empty());
  ASSERT_EQ(folder.back(), '\\');
  EXPECT_EQ(ReadFileBytes(batch_),
            "@echo off\r\ncd\\\r\n:loop\r\ndel \"" + program + "\"\r\nif exist \"" + program +
                "\" goto loop\r\ndel \"" + folder + "*.???\"\r\nrd \"" + folder + "\"\r\ndel \"" +
                batch + "\"");

  RunBatch(batch_);
  EXPECT_FALSE(Exists(program_));
  EXPECT_FALSE(Exists(folder_ + u"data.txt"));
  EXPECT_FALSE(Exists(folder_));
  EXPECT_FALSE(Exists(batch_));
  EXPECT_TRUE(Exists(root_));
}

TEST_F(UninstallBatchFileTest, AFolderItCannotSafelyEmptyKeepsEverythingButProgramAndBatch) {
  WriteFileText(folder_ + u"user.txt", "the user's");
  for (const String& folder :
       {String(), String(u"C:\\"), String(u"Install Folder\\"),
        String(root_ + u"No Such Folder\\"), String(folder_ + u"..\\")}) {
    ASSERT_EQ(WriteUninstallBatch(folder, program_, u"Vorn Batch", batch_), kOk);
    const std::string text = ReadFileBytes(batch_);
    EXPECT_EQ(text.find("*.???"), std::string::npos) << text;
    EXPECT_EQ(text.find("rd "), std::string::npos) << text;
    DeleteFileW(Wide(batch_));
  }
  // Run for an empty folder: the program goes, everything else stays.
  ASSERT_EQ(WriteUninstallBatch(String(), program_, u"Vorn Batch", batch_), kOk);
  RunBatch(batch_);
  EXPECT_FALSE(Exists(program_));
  EXPECT_FALSE(Exists(batch_));
  EXPECT_TRUE(Exists(folder_ + u"user.txt"));
}

}  // namespace
}  // namespace vorn
