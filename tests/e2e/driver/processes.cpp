// Starting programs and watching processes.
#include "e2e/driver/driver.h"

#include <tlhelp32.h>

#include <cwchar>

namespace e2e {
namespace {

// The command line of a program and its arguments, quoted the way the
// C run-time's parser reads it back.
std::wstring CommandLine(const std::vector<std::wstring>& parts, size_t first) {
  std::wstring line;
  for (size_t i = first; i < parts.size(); ++i) {
    if (!line.empty()) line += L' ';
    const std::wstring& part = parts[i];
    if (!part.empty() && part.find_first_of(L" \t\"") == std::wstring::npos) {
      line += part;
      continue;
    }
    line += L'"';
    size_t backslashes = 0;
    for (wchar_t c : part) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
      backslashes = 0;
      line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
  }
  return line;
}

bool StartProgram(const Arguments& args, PROCESS_INFORMATION& started) {
  std::wstring line = CommandLine(args.positional, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started) != FALSE;
}

std::vector<DWORD> ProcessesNamed(const std::wstring& name) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (name.empty() || _wcsicmp(entry.szExeFile, name.c_str()) == 0) {
      found.push_back(entry.th32ProcessID);
      if (name.empty()) PrintValue(L"process", std::to_wstring(entry.th32ProcessID) + L" " + entry.szExeFile);
    }
  }
  CloseHandle(snapshot);
  return found;
}

}  // namespace

int Run(const Arguments& args) {
  if (args.positional.empty()) return kUsage;
  PROCESS_INFORMATION started{};
  if (!StartProgram(args, started)) {
    PrintValue(L"error", std::to_wstring(GetLastError()));
    return kNotFound;
  }
  CloseHandle(started.hThread);
  const DWORD waited = WaitForSingleObject(started.hProcess, args.Timeout(60000));
  DWORD exit_code = 0;
  GetExitCodeProcess(started.hProcess, &exit_code);
  CloseHandle(started.hProcess);
  if (waited != WAIT_OBJECT_0) return kTimedOut;
  PrintValue(L"exit", std::to_wstring(exit_code));
  return kDone;
}

int Start(const Arguments& args) {
  if (args.positional.empty()) return kUsage;
  PROCESS_INFORMATION started{};
  if (!StartProgram(args, started)) {
    PrintValue(L"error", std::to_wstring(GetLastError()));
    return kNotFound;
  }
  PrintValue(L"pid", std::to_wstring(started.dwProcessId));
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return kDone;
}

int Processes(const Arguments& args) {
  if (args.positional.size() > 1) return kUsage;
  const std::wstring name = args.positional.empty() ? L"" : args.positional[0];
  const std::vector<DWORD> found = ProcessesNamed(name);
  if (!name.empty()) {
    PrintValue(L"count", std::to_wstring(found.size()));
    for (DWORD id : found) PrintValue(L"pid", std::to_wstring(id));
  }
  return found.empty() ? kNotFound : kDone;
}

int WaitProcess(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  const bool gone = args.Has(L"gone");
  const DWORD start = GetTickCount();
  for (;;) {
    const size_t count = ProcessesNamed(args.positional[0]).size();
    if (gone ? count == 0 : count > 0) {
      PrintValue(L"count", std::to_wstring(count));
      return kDone;
    }
    if (GetTickCount() - start >= args.Timeout()) return kTimedOut;
    Sleep(100);
  }
}

}  // namespace e2e
