// The end-to-end test driver: a console program that the test scripts call
// once per step ("click InstallCmd", "wait for the success page"). It finds
// the installer's main window by its class name and the controls in it by
// the identifier their name gives them, acts on them the way a user's click
// or typing would reach the page, and tells the outcome by its exit code
// and one or more "key=value" lines on standard output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Exit codes every command shares, so that a script can tell a slow
// installer from a missing control or a wrong call.
enum Exit : int {
  kDone = 0,          // the command did what it was asked
  kTimedOut = 1,      // the awaited window, control or state did not come in time
  kNotFound = 2,      // no such window, control, item or button
  kUsage = 3,         // the command line is wrong
  kWrongState = 4,    // the control is there but cannot be used (hidden, disabled)
  kSystemFailure = 5  // a system call failed
};

// The command's arguments after the command name, with "--name value"
// options taken out.
struct Arguments {
  std::vector<std::wstring> positional;
  std::vector<std::pair<std::wstring, std::wstring>> options;

  bool Has(const wchar_t* name) const;
  std::wstring Option(const wchar_t* name, const wchar_t* fallback = L"") const;
  DWORD Timeout(DWORD fallback = 10000) const;
};

// Standard output as UTF-8 lines (the scripts read it from a file).
void Print(const std::wstring& line);
void PrintValue(const wchar_t* key, const std::wstring& value);
std::wstring Utf16(const char* text);
std::string Utf8(const std::wstring& text);
std::wstring Hex(uintptr_t value);
// Text of any window, also one of another process (WM_GETTEXT is marshalled).
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// ---- Windows and controls (window_search.cpp) ----

// Visible top-level windows of a class (or every one with include_hidden).
std::vector<HWND> TopLevelWindows(const std::wstring& class_name, bool include_hidden);
// The first visible top-level window of the class, or null.
HWND FirstVisible(const std::wstring& class_name);
// A control below a top-level window, by a path of names separated by "/"
// ("InstallCmd", "Header/Text"): each name's identifier is looked for among
// the descendants of the previous match. Visible matches win over hidden
// ones, so a page that is shown is found before its hidden twin.
HWND FindControl(HWND top, const std::wstring& path);
// Calls find until it returns a window for which accept is true, or the
// timeout passes; sleeps 50 ms between tries.
template <typename Find, typename Accept>
HWND WaitFor(DWORD timeout, Find find, Accept accept) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND found = find();
    if (found != nullptr && accept(found)) return found;
    if (GetTickCount() - start >= timeout) return nullptr;
    Sleep(50);
  }
}
// Memory in another process, for the control messages whose pointers the
// system does not carry across processes (they are above WM_USER).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND owner, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool Valid() const { return address_ != nullptr; }
  void* Address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) const;
  bool Read(size_t offset, void* data, size_t size) const;

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};
// Sends a message to a window of another process without hanging on it.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                        bool* answered = nullptr);

// ---- Commands; each returns its exit code ----

int ListWindows(const Arguments& args);
int WaitWindow(const Arguments& args);
int WaitNoWindow(const Arguments& args);
int WindowInfo(const Arguments& args);
int ShowTopLevel(const Arguments& args);
int CloseWindow(const Arguments& args);
int WaitControl(const Arguments& args);
int ControlText(const Arguments& args);
int ControlState(const Arguments& args);
int ListControls(const Arguments& args);
int Click(const Arguments& args);
int SetCheck(const Arguments& args);
int SetText(const Arguments& args);
int SelectItem(const Arguments& args);
int ListItems(const Arguments& args);
int SelectTab(const Arguments& args);
int PressKey(const Arguments& args);
int WaitDialog(const Arguments& args);
int PressDialog(const Arguments& args);
int Run(const Arguments& args);
int Start(const Arguments& args);
int Processes(const Arguments& args);
int WaitProcess(const Arguments& args);
int RegistryDump(const Arguments& args);

}  // namespace e2e
