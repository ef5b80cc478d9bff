// Runs a whole test program as a separate process and gives its exit code
// (Windows only): for tests of what a program does from entry to exit.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace vorn::testing {

// The folder of the running test executable, with its separator; the test
// programs are built next to it.
inline std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder;
}

// Runs `program` with `arguments` (in `folder` as the current folder, when
// given) and waits at most a minute for it; a failure of the test when it
// cannot start or does not end.
inline DWORD RunTestProgram(const std::wstring& program, const std::wstring& arguments,
                            const wchar_t* folder = nullptr) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start the program: " << GetLastError();
    return 0xFFFFFFFF;
  }
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 0xDEAD);
    ADD_FAILURE() << "the program did not end";
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exit_code;
}

}  // namespace vorn::testing
