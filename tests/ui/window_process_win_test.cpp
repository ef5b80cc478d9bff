// Whole programs with a toolkit main window, each in its own process: the
// placement that one run saves and the next restores, the main window's
// end stopping the frame loop, the class name other instances look for.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring ProbePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + L"window_probe.exe";
}

struct Probe {
  PROCESS_INFORMATION process{};
  bool started = false;

  explicit Probe(const std::wstring& arguments) {
    std::wstring command = L"\"" + ProbePath() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process) != 0;
    if (!started) ADD_FAILURE() << "cannot start the probe: " << GetLastError();
  }
  DWORD Wait() {
    if (!started) return 0xFFFFFFFF;
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 0xDEAD);
      ADD_FAILURE() << "the probe did not end";
    }
    DWORD exit_code = 0;
    GetExitCodeProcess(process.hProcess, &exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    started = false;
    return exit_code;
  }
};

TEST(WindowProcessTest, PlacementSavedByOneRunIsRestoredByTheNext) {
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VornTests\\WindowProbe\\1\\Local\\ProbeWindow");
  EXPECT_EQ(Probe(L"place 123 77").Wait(), 0u);
  DWORD left = 0;
  DWORD size = sizeof left;
  EXPECT_EQ(
      RegGetValueW(HKEY_CURRENT_USER, L"Software\\VornTests\\WindowProbe\\1\\Local\\ProbeWindow",
                   L"Left", RRF_RT_REG_DWORD, nullptr, &left, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(left, 123u);
  EXPECT_EQ(Probe(L"report").Wait(), 123u * 10000 + 77);
  EXPECT_EQ(Probe(L"place 40 60").Wait(), 0u);
  EXPECT_EQ(Probe(L"report").Wait(), 40u * 10000 + 60);
}

TEST(WindowProcessTest, DestroyingTheMainWindowEndsTheLoopWithTheExitCode) {
  EXPECT_EQ(Probe(L"close-code 37").Wait(), 37u);
}

TEST(WindowProcessTest, OtherInstancesFindTheMainWindowByItsClassName) {
  Probe holder(L"hold");
  HWND found = nullptr;
  for (int i = 0; i < 200 && found == nullptr; ++i) {
    found = FindWindowW(L"VornWindowProbe::Window", nullptr);
    if (found == nullptr) Sleep(50);
  }
  ASSERT_NE(found, nullptr);
  wchar_t title[64] = {};
  GetWindowTextW(found, title, 64);
  EXPECT_EQ(std::wstring(title), L"Window probe");
  PostMessageW(found, WM_CLOSE, 0, 0);
  EXPECT_EQ(holder.Wait(), 0u);
}

}  // namespace
