// The installer benchmark's Windows helper as the benchmark uses it: a
// whole program started with its command line, its printed figures read
// back. The plain-copy reference copies a whole tree; a program's exit
// code and time come back; bad commands and missing programs or folders
// give clear exit codes and leave nothing behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

struct ProbeRun {
  DWORD exit_code = 0xFFFFFFFF;
  std::map<std::string, std::string> figures;
};

std::wstring TempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
}

ProbeRun RunProbe(const std::wstring& arguments) {
  ProbeRun result;
  const std::wstring output = TempFolder(L"probe-output-") + L".txt";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return result;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION started = {};
  std::wstring line = std::wstring(L"\"") + VORN_INSTALL_PROBE + L"\" " + arguments;
  if (CreateProcessW(VORN_INSTALL_PROBE, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &started)) {
    WaitForSingleObject(started.hProcess, 120000);
    GetExitCodeProcess(started.hProcess, &result.exit_code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
  CloseHandle(out);
  std::ifstream in(output.c_str());
  for (std::string text; std::getline(in, text);) {
    const size_t colon = text.find(": ");
    if (colon != std::string::npos) result.figures[text.substr(0, colon)] = text.substr(colon + 2);
  }
  DeleteFileW(output.c_str());
  return result;
}

void WriteFile(const std::wstring& path, const std::string& content) {
  std::ofstream(path.c_str(), std::ios::binary) << content;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(folder + L"\\" + name);
      } else {
        DeleteFileW((folder + L"\\" + name).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

class InstallProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = TempFolder(L"install-probe-test-");
    RemoveTree(root_);
    CreateDirectoryW(root_.c_str(), nullptr);
  }
  void TearDown() override { RemoveTree(root_); }
  std::wstring root_;
};

TEST_F(InstallProbeTest, CopiesAWholeTreeIntoMissingFoldersAndCountsIt) {
  const std::wstring source = root_ + L"\\source";
  CreateDirectoryW(source.c_str(), nullptr);
  CreateDirectoryW((source + L"\\Bin").c_str(), nullptr);
  CreateDirectoryW((source + L"\\Bin\\Plug-ins").c_str(), nullptr);
  CreateDirectoryW((source + L"\\Empty").c_str(), nullptr);
  WriteFile(source + L"\\ReadMe.txt", "read me");
  WriteFile(source + L"\\Bin\\module.dll", std::string(100000, 'x'));
  WriteFile(source + L"\\Bin\\Plug-ins\\empty.dat", "");
  // The target's parents do not exist yet, as an install folder's do not.
  const std::wstring target = root_ + L"\\Program Files\\Company\\Product";
  ProbeRun run = RunProbe(L"copy \"" + source + L"\" \"" + target + L"\"");
  ASSERT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.figures["files"], "3");
  EXPECT_EQ(run.figures["bytes"], "100007");
  EXPECT_GE(std::stod(run.figures["copy_ms"]), 0.0);
  EXPECT_EQ(ReadFile(target + L"\\ReadMe.txt"), "read me");
  EXPECT_EQ(ReadFile(target + L"\\Bin\\module.dll"), std::string(100000, 'x'));
  EXPECT_NE(GetFileAttributesW((target + L"\\Bin\\Plug-ins\\empty.dat").c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((target + L"\\Empty").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(InstallProbeTest, CopyFailuresAreClearAndMakeNothing) {
  const std::wstring target = root_ + L"\\target";
  EXPECT_EQ(RunProbe(L"copy \"" + root_ + L"\\missing\" \"" + target + L"\"").exit_code, 29u);
  EXPECT_EQ(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
  // A file where the target folder must go.
  const std::wstring source = root_ + L"\\source";
  CreateDirectoryW(source.c_str(), nullptr);
  WriteFile(source + L"\\a.txt", "a");
  WriteFile(target, "in the way");
  EXPECT_EQ(RunProbe(L"copy \"" + source + L"\" \"" + target + L"\\sub\"").exit_code, 31u);
  EXPECT_EQ(ReadFile(target), "in the way");
}

TEST_F(InstallProbeTest, RunReportsTheProgramsExitCodeAndTime) {
  ProbeRun run = RunProbe(L"run --timeout 60 -- C:\\windows\\system32\\cmd.exe /c exit 7");
  ASSERT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.figures["exit_code"], "7");
  EXPECT_GT(std::stod(run.figures["elapsed_ms"]), 0.0);
  EXPECT_TRUE(run.figures.count("peak_working_set_bytes"));
}

TEST_F(InstallProbeTest, BadCommandsAndMissingProgramsGiveClearExitCodes) {
  EXPECT_EQ(RunProbe(L"").exit_code, 5u);
  EXPECT_EQ(RunProbe(L"fly").exit_code, 5u);
  EXPECT_EQ(RunProbe(L"run --timeout 60").exit_code, 5u);
  EXPECT_EQ(RunProbe(L"run --timeout -1 -- cmd.exe").exit_code, 5u);
  EXPECT_EQ(RunProbe(L"install -- x.exe").exit_code, 5u);  // no window class
  EXPECT_EQ(RunProbe(L"copy only-one").exit_code, 5u);
  ProbeRun missing = RunProbe(L"run -- \"" + root_ + L"\\missing.exe\"");
  EXPECT_EQ(missing.exit_code, 29u);
  EXPECT_TRUE(missing.figures.empty());
}

TEST_F(InstallProbeTest, FirstWindowTimesAShownWindowAndEndsItsProgram) {
  if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
    GTEST_SKIP() << "no X display for windows";
  }
  ProbeRun run = RunProbe(L"first-window --timeout 60 -- C:\\windows\\system32\\notepad.exe");
  ASSERT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.figures["window_class"], "Notepad");
  EXPECT_GT(std::stod(run.figures["first_window_ms"]), 0.0);
  EXPECT_EQ(FindWindowW(L"Notepad", nullptr), nullptr) << "the program was left running";
}

TEST_F(InstallProbeTest, FirstWindowGivesUpWhenTheProgramShowsNone) {
  ProbeRun run = RunProbe(L"first-window --timeout 2 -- C:\\windows\\system32\\cmd.exe /c exit 0");
  EXPECT_EQ(run.exit_code, 9u);
  EXPECT_FALSE(run.figures.count("first_window_ms"));
}

}  // namespace
