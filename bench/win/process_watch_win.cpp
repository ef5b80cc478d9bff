#include "win/process_watch_win.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <map>

namespace probe {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring CommandLine(const std::vector<std::wstring>& words) {
  std::wstring line;
  for (const std::wstring& word : words) {
    if (!line.empty()) line += L' ';
    const bool quote =
        word.empty() || (word.find(L' ') != std::wstring::npos && word.compare(0, 3, L"/D=") != 0 &&
                         word.compare(0, 3, L"_?=") != 0);
    if (quote) {
      line += L'"' + word + L'"';
    } else {
      line += word;
    }
  }
  return line;
}

vorn::Result Start(const std::vector<std::wstring>& words, PROCESS_INFORMATION& started) {
  started = {};
  if (words.empty()) return vorn::kInvalidArgument;
  std::wstring line = CommandLine(words);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessW(words[0].c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return vorn::kNotFound;
  }
  return vorn::kOk;
}

namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
  RECT rect;
  if (IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right > rect.left &&
      rect.bottom > rect.top) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

struct ControlSearch {
  uint16_t id;
  HWND parent;
  HWND found;
};

bool VisibleUpTo(HWND window, HWND top) {
  for (HWND at = window; at != nullptr && at != top; at = GetParent(at)) {
    if ((GetWindowLongW(at, GWL_STYLE) & WS_VISIBLE) == 0) return false;
  }
  return true;
}

BOOL CALLBACK MatchControl(HWND window, LPARAM search_address) {
  ControlSearch& search = *reinterpret_cast<ControlSearch*>(search_address);
  if (GetDlgCtrlID(window) == search.id && VisibleUpTo(window, search.parent)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleTopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool IsDescendant(DWORD pid, DWORD ancestor) {
  if (pid == ancestor) return true;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  std::map<DWORD, DWORD> parents;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    parents[entry.th32ProcessID] = entry.th32ParentProcessID;
  }
  CloseHandle(snapshot);
  // Bounded walk: a recycled id could make a cycle.
  for (int depth = 0; depth < 16; ++depth) {
    const auto parent = parents.find(pid);
    if (parent == parents.end() || parent->second == 0 || parent->second == pid) return false;
    pid = parent->second;
    if (pid == ancestor) return true;
  }
  return false;
}

HWND FindNewWindow(const std::vector<HWND>& before, DWORD root, const std::wstring& window_class) {
  for (HWND window : VisibleTopLevelWindows()) {
    bool seen = false;
    for (HWND old : before) seen = seen || old == window;
    if (seen) continue;
    if (!window_class.empty()) {
      wchar_t name[256] = {};
      GetClassNameW(window, name, 256);
      if (window_class != name) continue;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() && IsDescendant(pid, root)) return window;
  }
  return nullptr;
}

HWND FindVisibleControl(HWND parent, uint16_t id) {
  ControlSearch search = {id, parent, nullptr};
  EnumChildWindows(parent, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

PeakMemory::~PeakMemory() {
  if (process_ != nullptr) CloseHandle(process_);
}

bool PeakMemory::Watch(DWORD pid) {
  if (process_ != nullptr) CloseHandle(process_);
  process_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  Sample();
  return process_ != nullptr;
}

void PeakMemory::Sample() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (process_ != nullptr && GetProcessMemoryInfo(process_, &counters, sizeof counters) &&
      counters.PeakWorkingSetSize > peak_) {
    peak_ = counters.PeakWorkingSetSize;
  }
}

void Terminate(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return;
  TerminateProcess(process, 1);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

}  // namespace probe
