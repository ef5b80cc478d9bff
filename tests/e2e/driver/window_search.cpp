// Finding the installer's windows and controls, and the driver's output.
#include <cwchar>

#include "e2e/driver/driver.h"
#include "ui/window_id.h"

namespace e2e {

void Print(const std::wstring& line) {
  const std::string bytes = Utf8(line) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
            nullptr);
}

void PrintValue(const wchar_t* key, const std::wstring& value) {
  // One value per line: line breaks inside a text are written as "\n".
  std::wstring flat;
  for (wchar_t c : value) {
    if (c == L'\r') continue;
    if (c == L'\n') {
      flat += L"\\n";
    } else {
      flat += c;
    }
  }
  Print(std::wstring(key) + L"=" + flat);
}

std::wstring Utf16(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring result(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), length);
  result.resize(static_cast<size_t>(length - 1));
  return result;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length,
                      nullptr, nullptr);
  return result;
}

std::wstring Hex(uintptr_t value) {
  wchar_t text[24];
  swprintf(text, 24, L"%llx", static_cast<unsigned long long>(value));
  return text;
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam, bool* answered) {
  DWORD_PTR result = 0;
  const LRESULT ok =
      SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
  if (answered != nullptr) *answered = ok != 0;
  return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND window) {
  bool answered = false;
  const LRESULT length = SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &answered);
  if (!answered || length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendWithTimeout(window, WM_GETTEXT, text.size(),
                                         reinterpret_cast<LPARAM>(text.data()), &answered);
  text.resize(answered && copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

namespace {

struct TopLevelSearch {
  const std::wstring* class_name;
  bool include_hidden;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TopLevelSearch*>(context);
  if (ClassOf(window) == *search->class_name &&
      (search->include_hidden || IsWindowVisible(window))) {
    search->found.push_back(window);
  }
  return TRUE;
}

struct ChildSearch {
  int id;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ChildSearch*>(context);
  if (GetDlgCtrlID(window) == search->id) search->found.push_back(window);
  return TRUE;
}

int IdOfName(const std::wstring& name) {
  // "#123" names a raw identifier, for windows that have no name.
  if (name.size() > 1 && name[0] == L'#') return static_cast<int>(wcstol(name.c_str() + 1, nullptr, 0));
  return vorn::WindowIdOf(reinterpret_cast<const char16_t*>(name.c_str()),
                          static_cast<uint32_t>(name.size()));
}

HWND FirstTopLevel(const Arguments& args) { return FirstVisible(args.positional[0]); }

void PrintWindow(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  PrintValue(L"window", Hex(reinterpret_cast<uintptr_t>(window)));
  PrintValue(L"pid", std::to_wstring(process));
  PrintValue(L"visible", IsWindowVisible(window) ? L"1" : L"0");
  PrintValue(L"enabled", IsWindowEnabled(window) ? L"1" : L"0");
  PrintValue(L"title", WindowText(window));
  RECT rect{};
  GetWindowRect(window, &rect);
  PrintValue(L"rect", std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
                          std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom));
}

}  // namespace

std::vector<HWND> TopLevelWindows(const std::wstring& class_name, bool include_hidden) {
  TopLevelSearch search{&class_name, include_hidden, {}};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FirstVisible(const std::wstring& class_name) {
  const std::vector<HWND> windows = TopLevelWindows(class_name, false);
  return windows.empty() ? nullptr : windows.front();
}

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) {
  DWORD id = 0;
  GetWindowThreadProcessId(owner, &id);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
  if (process_ != nullptr)
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t size) const {
  SIZE_T done = 0;
  return WriteProcessMemory(process_, Address(offset), data, size, &done) && done == size;
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t size) const {
  SIZE_T done = 0;
  return ReadProcessMemory(process_, Address(offset), data, size, &done) && done == size;
}

HWND FindControl(HWND top, const std::wstring& path) {
  HWND current = top;
  size_t begin = 0;
  while (current != nullptr && begin <= path.size()) {
    size_t end = path.find(L'/', begin);
    if (end == std::wstring::npos) end = path.size();
    ChildSearch search{IdOfName(path.substr(begin, end - begin)), {}};
    EnumChildWindows(current, &CollectChild, reinterpret_cast<LPARAM>(&search));
    current = nullptr;
    for (HWND candidate : search.found) {
      if (IsWindowVisible(candidate)) {
        current = candidate;
        break;
      }
    }
    if (current == nullptr && !search.found.empty()) current = search.found.front();
    begin = end + 1;
  }
  return current;
}

int ListWindows(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  const std::vector<HWND> windows = TopLevelWindows(args.positional[0], true);
  PrintValue(L"count", std::to_wstring(windows.size()));
  for (HWND window : windows) PrintWindow(window);
  return windows.empty() ? kNotFound : kDone;
}

int WaitWindow(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  HWND window = WaitFor(args.Timeout(), [&] { return FirstTopLevel(args); },
                        [](HWND) { return true; });
  if (window == nullptr) return kTimedOut;
  PrintWindow(window);
  return kDone;
}

int WaitNoWindow(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  const DWORD start = GetTickCount();
  while (FirstTopLevel(args) != nullptr) {
    if (GetTickCount() - start >= args.Timeout()) return kTimedOut;
    Sleep(50);
  }
  return kDone;
}

int WindowInfo(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  HWND window = FirstTopLevel(args);
  if (window == nullptr) return kNotFound;
  PrintWindow(window);
  PrintValue(L"iconic", IsIconic(window) ? L"1" : L"0");
  PrintValue(L"zoomed", IsZoomed(window) ? L"1" : L"0");
  // The window in front is the main window itself or one of its pop-ups.
  HWND front = GetForegroundWindow();
  HWND root = front != nullptr ? GetAncestor(front, GA_ROOTOWNER) : nullptr;
  PrintValue(L"foreground", front == window || root == window ? L"1" : L"0");
  return kDone;
}

int ShowTopLevel(const Arguments& args) {
  if (args.positional.size() != 2) return kUsage;
  HWND window = FirstTopLevel(args);
  if (window == nullptr) return kNotFound;
  const std::wstring& how = args.positional[1];
  int command = 0;
  if (how == L"minimize") {
    command = SW_MINIMIZE;
  } else if (how == L"restore") {
    command = SW_RESTORE;
  } else if (how == L"maximize") {
    command = SW_MAXIMIZE;
  } else {
    return kUsage;
  }
  ShowWindowAsync(window, command);
  return kDone;
}

int CloseWindow(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  HWND window = FirstTopLevel(args);
  if (window == nullptr) return kNotFound;
  return PostMessageW(window, WM_CLOSE, 0, 0) ? kDone : kSystemFailure;
}

}  // namespace e2e
