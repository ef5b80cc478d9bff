// Whole runs of a program built on the framework entry, each in its own
// process: the exit code tells how the run ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring ProbePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + L"framework_probe.exe";
}

DWORD RunProbe(const std::wstring& arguments) {
  std::wstring command = L"\"" + ProbePath() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start the probe: " << GetLastError();
    return 0xFFFFFFFF;
  }
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 0xDEAD);
    ADD_FAILURE() << "the probe did not end";
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exit_code;
}

TEST(FrameworkExitTest, QuitDuringApplicationStartGivesItsCodeWithoutModules) {
  EXPECT_EQ(RunProbe(L"quit-at-start 23"), 23u);
  EXPECT_EQ(RunProbe(L"quit-at-start 0"), 0u);
}

TEST(FrameworkExitTest, WmQuitEndsWithItsWParam) {
  EXPECT_EQ(RunProbe(L"wm-quit 7"), 7u);
}

TEST(FrameworkExitTest, FailingModuleInitializeEndsWithZero) {
  EXPECT_EQ(RunProbe(L"failing-module"), 0u);
}

TEST(FrameworkExitTest, DeferredQuitFinishesTheFrameAndGivesItsCode) {
  EXPECT_EQ(RunProbe(L"deferred-quit 12"), 12u);
}

}  // namespace
