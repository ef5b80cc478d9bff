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

// The main window stores its placement as its system window goes at the end
// of the run; the preferences, made after the core, save it as they end.
TEST(FrameworkExitTest, PlacementWrittenAtExitReachesTheRegistry) {
  const wchar_t* const key = L"Software\\VornTest\\Placement Probe\\1.0\\Local\\MainWindow";
  RegDeleteKeyW(HKEY_CURRENT_USER, key);
  EXPECT_EQ(RunProbe(L"placement-at-exit"), 0u);
  DWORD width = 0;
  DWORD size = sizeof width;
  DWORD type = 0;
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(opened, L"Width", nullptr, &type, reinterpret_cast<BYTE*>(&width),
                             &size),
            ERROR_SUCCESS);
  RegCloseKey(opened);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(width, 200u);
  RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

// The marker a running instance holds, as another process would.
HANDLE HoldInstanceMarker() {
  return CreateMutexW(nullptr, FALSE, L"Local\\VornLib.{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
}

TEST(FrameworkExitTest, SecondInstanceEndsWithZeroBeforeItsModulesStart) {
  EXPECT_EQ(RunProbe(L"single-instance"), 31u);
  HANDLE marker = HoldInstanceMarker();
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(RunProbe(L"single-instance"), 0u);
  EXPECT_EQ(RunProbe(L"single-instance -allowmultipleinstances"), 31u);
  CloseHandle(marker);
  EXPECT_EQ(RunProbe(L"single-instance"), 31u);
}

}  // namespace
