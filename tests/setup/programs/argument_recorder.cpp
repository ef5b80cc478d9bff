// A program that only records how it was started: its command line is
// appended as one UTF-16 line to the file named by VORN_RECORDER_LOG. The
// transfer tests install it as a previous product's uninstall program.
#include <windows.h>

#include <cwchar>

int main() {
  wchar_t log_path[MAX_PATH];
  if (GetEnvironmentVariableW(L"VORN_RECORDER_LOG", log_path, MAX_PATH) == 0) return 3;
  HANDLE log = CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 4;
  const wchar_t* line = GetCommandLineW();
  DWORD written = 0;
  WriteFile(log, line, static_cast<DWORD>(std::wcslen(line) * sizeof(wchar_t)), &written, nullptr);
  WriteFile(log, L"\n", sizeof(wchar_t), &written, nullptr);
  CloseHandle(log);
  return 0;
}
