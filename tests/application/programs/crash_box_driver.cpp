// Runs a program and answers the crash report box it shows, so that the
// crash reporter can be tested without a person. Usage:
//   crash_box_driver [--leave-box] OUTPUT PROGRAM [ARGUMENTS...]
// With --leave-box the box is read but not answered: the program has to end
// by itself. Writes to OUTPUT (UTF-8): the line "exit=0xXXXXXXXX", the line
// "elapsed=<milliseconds from start to end>", the line
// "temp=<temporary folder>", and, when a box appeared, "owner=0|1" and the
// box's text after a line "text:". The driver's own exit code is 0 when the
// program ended, 3 when it had to be killed after two minutes.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct BoxSearch {
  DWORD process_id;
  HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<BoxSearch*>(parameter);
  DWORD owner_process = 0;
  GetWindowThreadProcessId(window, &owner_process);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (owner_process == search->process_id && std::wstring(title) == L"VornLib - Crash Report") {
    search->box = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM parameter) {
  auto* text = reinterpret_cast<std::wstring*>(parameter);
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (_wcsicmp(name, L"Static") != 0) return TRUE;
  wchar_t buffer[4096] = {};
  GetWindowTextW(child, buffer, 4096);
  if (wcslen(buffer) > text->size()) *text = buffer;
  return TRUE;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool leave_box = argc > 1 && std::wstring(argv[1]) == L"--leave-box";
  if (leave_box) {
    --argc;
    ++argv;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: crash_box_driver [--leave-box] OUTPUT PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  std::wstring command = L"\"" + std::wstring(argv[2]) + L"\"";
  for (int i = 3; i < argc; ++i) command += L" " + std::wstring(argv[i]);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const DWORD started = GetTickCount();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start the program: %lu\n", GetLastError());
    return 2;
  }
  std::wstring text;
  bool box_seen = false;
  bool owned = false;
  int waited_ms = 0;
  while (WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
    waited_ms += 100;
    BoxSearch search{process.dwProcessId, nullptr};
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.box != nullptr && !box_seen) {
      box_seen = true;
      owned = GetWindow(search.box, GW_OWNER) != nullptr;
      EnumChildWindows(search.box, &LongestStatic, reinterpret_cast<LPARAM>(&text));
      if (!leave_box) PostMessageW(search.box, WM_COMMAND, IDOK, 0);
    }
    if (waited_ms > 120000) {
      TerminateProcess(process.hProcess, 0xDEAD);
      return 3;
    }
  }
  const DWORD elapsed = GetTickCount() - started;
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  FILE* out = _wfopen(argv[1], L"wb");
  if (out == nullptr) return 2;
  std::fprintf(out, "exit=0x%08lX\nelapsed=%lu\ntemp=%s\n", exit_code, elapsed,
               Utf8(temp).c_str());
  if (box_seen) std::fprintf(out, "owner=%d\ntext:\n%s", owned ? 1 : 0, Utf8(text).c_str());
  std::fclose(out);
  return 0;
}
