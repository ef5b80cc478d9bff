// Whole runs of a program built on the framework entry, each in its own
// process: the exit code tells how the run ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "application/support/program_run.h"

namespace {

DWORD RunProbe(const std::wstring& arguments) {
  return vorn::testing::RunTestProgram(
      vorn::testing::TestProgramFolder() + L"framework_probe.exe", arguments);
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
