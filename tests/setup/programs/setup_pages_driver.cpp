// Drives a real Setup.exe through its first page the way a user would, from
// another process: it finds the main window by its class name and the
// controls by the identifiers of their names, clicks, types and reads back
// what the pages show. A screenshot is asked for at every page: the driver
// creates "<work>\shot-<name>" and waits until the test script, which takes
// the picture, has removed it.
//
//   setup_pages_driver WORK SETUP.EXE WINDOW_CLASS SCENARIO
//
// Scenarios:
//   pages          one process (-LaunchedAsAdministrator -AllowMultipleInstances):
//                  the three tabs, the options rules, the shortcut box, Quit
//   two-processes  a plain start: the page window belongs to a second
//                  process; a second plain start meanwhile brings it
//                  forward and ends with 0; Quit ends both with 0
//   product-running the product's marker exists: the message, then exit 0
//   languages      /Language=fr, it, zh: the tabs in each language; the
//                  choice is kept for the next run
//   last-pages     the failure, canceled and success pages as the transfer
//                  worker's messages bring them; Escape, Close, and Start
//                  (41 from the elevated child, 0 from its parent)
// Every failed check prints "FAIL: ..."; the exit code is the number of
// failures (99 when the scenario could not run at all).
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "ui/window_id.h"

namespace {

std::wstring work_folder;
std::wstring setup_path;
std::wstring window_class;
int failures = 0;

void Check(bool condition, const char* what) {
  if (condition) {
    std::printf("ok: %s\n", what);
  } else {
    std::printf("FAIL: %s\n", what);
    ++failures;
  }
  std::fflush(stdout);
}

struct Started {
  HANDLE process = nullptr;
  DWORD id = 0;
};

Started Start(const std::wstring& arguments) {
  std::wstring command = L"\"" + setup_path + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  Started started;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return started;
  }
  CloseHandle(process.hThread);
  started.process = process.hProcess;
  started.id = process.dwProcessId;
  return started;
}

// Waits for the process's end: its exit code, or 0xDEAD after `ms`.
DWORD WaitForExit(const Started& started, DWORD ms) {
  if (started.process == nullptr) return 0xDEAD;
  if (WaitForSingleObject(started.process, ms) != WAIT_OBJECT_0) return 0xDEAD;
  DWORD code = 0;
  GetExitCodeProcess(started.process, &code);
  return code;
}

HWND WaitForWindow(const wchar_t* class_name, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 100) {
    HWND window = FindWindowW(class_name, nullptr);
    if (window != nullptr && IsWindowVisible(window)) return window;
    Sleep(100);
  }
  return nullptr;
}

struct Search {
  vorn::WindowId id;
  bool visible_only;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  if (search->visible_only && !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// The control of that name anywhere under `top` (a visible one when asked).
HWND Control(HWND top, const char16_t* name, bool visible_only = false) {
  Search search{vorn::WindowIdOf(name), visible_only, nullptr};
  EnumChildWindows(top, &MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  if (window != nullptr) SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

// Lets the installer handle what was sent and posted to it.
void Settle() {
  Sleep(400);
}

// Waits until `condition` holds (at most three seconds).
template <typename Condition>
bool Eventually(Condition condition) {
  for (int i = 0; i < 30; ++i) {
    if (condition()) return true;
    Sleep(100);
  }
  return condition();
}

void Screenshot(const wchar_t* name) {
  Settle();
  const std::wstring request = work_folder + L"\\shot-" + name;
  HANDLE file = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  CloseHandle(file);
  for (int i = 0; i < 200 && GetFileAttributesW(request.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(100);
  }
}

void Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
}

// The edit field of the editable combo box.
HWND ComboEdit(HWND combo) {
  HWND inner = FindWindowExW(combo, nullptr, L"ComboBox", nullptr);
  HWND edit = FindWindowExW(inner != nullptr ? inner : combo, nullptr, L"Edit", nullptr);
  return edit;
}

void Type(HWND edit, const wchar_t* text) {
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool Enabled(HWND window) {
  return window != nullptr && IsWindowEnabled(window);
}

struct Rejected {
  const wchar_t* text;
  const char* what;
};

// Each rejected text comes after an accepted one, so that a button that
// merely stayed disabled would not pass.
void CheckRejected(HWND edit, HWND install, const wchar_t* accepted,
                   std::initializer_list<Rejected> rejected) {
  for (const Rejected& entry : rejected) {
    Type(edit, accepted);
    Check(Eventually([&] { return Enabled(install); }), "an accepted text enables Install");
    Type(edit, entry.text);
    Check(Eventually([&] { return !Enabled(install); }), entry.what);
  }
}

// The install button follows the folder.
void CheckFolderRules(HWND window, HWND install) {
  HWND folder = Control(window, u"InstallFolder");
  Check(folder != nullptr, "the options tab has InstallFolder");
  if (folder == nullptr) return;
  CheckRejected(folder, install, L"D:\\Apps\\Vorn Demo",
                {
                    {L"Program Files\\Vorn Demo", "a folder without a drive disables Install"},
                    {L"C:\\Program Files\\Vorn Demo\\", "a trailing backslash disables Install"},
                    {L"C:\\Program Files\\Vorn*Demo", "a '*' in the folder disables Install"},
                    {L"C:.", "a drive-relative 'C:.' disables Install"},
                    {L"C:..\\Windows", "'C:..\\Windows' disables Install"},
                    {L"C:\\Program Files\\..\\Windows", "a '..' segment disables Install"},
                    {L"", "an empty folder disables Install"},
                });
  Type(folder, L"C:\\Program Files\\Vorn Software\\Vorn Demo");
  Check(Eventually([&] { return Enabled(install); }), "the default folder enables Install again");
}

void CheckGroupRules(HWND window, HWND install) {
  HWND combo = Control(window, u"ProgramGroup");
  HWND edit = combo != nullptr ? ComboEdit(combo) : nullptr;
  Check(edit != nullptr, "the options tab has the ProgramGroup combo box with an edit field");
  if (edit == nullptr) return;
  Check(TextOf(edit) == L"Vorn Demo", "the program group starts as the display name");
  CheckRejected(edit, install, L"Vorn Software\\Vorn Demo",
                {
                    {L"\\Vorn Demo", "an absolute group disables Install"},
                    {L"C:Vorn", "a group with a drive disables Install"},
                    {L"..\\Startup", "a group leaving the Programs menu with '..' disables Install"},
                    {L"Vorn Demo\\", "a group ending with a backslash disables Install"},
                });
  // A group picked from the list, then typed into, becomes a folder of its
  // own inside the picked one, once.
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK),
               reinterpret_cast<LPARAM>(combo));
  Settle();
  Type(edit, L"Games");
  Check(Eventually([&] { return TextOf(edit) == L"Games\\Vorn Demo"; }),
        "typing after picking a group gives the group, a backslash and the display name");
  Type(edit, L"Games\\Demo");
  Settle();
  Check(TextOf(edit) == L"Games\\Demo", "only once: further typing is taken as it is");
  Type(edit, L"Vorn Demo");
  Check(Eventually([&] { return Enabled(install); }), "the default group enables Install again");
}

int Pages() {
  Started setup = Start(L"-LaunchedAsAdministrator -AllowMultipleInstances");
  if (setup.process == nullptr) return 99;
  HWND window = WaitForWindow(window_class.c_str(), 30000);
  Check(window != nullptr, "the main window appears");
  if (window == nullptr) return 99;
  Check(TextOf(window) == L"Vorn Demo Setup", "the caption names the product");
  HWND header = Control(window, u"Header");
  Check(TextOf(Control(header, u"Text")) == L"Vorn Demo 1.0 Setup",
        "the header shows the full title");
  HWND install = Control(window, u"InstallCmd");
  HWND tabs = Control(window, u"Tabs");
  Check(install != nullptr && tabs != nullptr, "the main page has Tabs and InstallCmd");
  if (install == nullptr || tabs == nullptr) return 99;

  // Welcome tab.
  Check(TextOf(Control(window, u"Title", true)) == L"Welcome to Vorn Demo Setup",
        "the welcome tab greets with the product's name");
  Check(IsWindowVisible(Control(window, u"NoticePublicProduct")) &&
            !IsWindowVisible(Control(window, u"NoticeOpenBeta")) &&
            !IsWindowVisible(Control(window, u"NoticeClosedBeta")),
        "only the public release's notice shows");
  Check(TextOf(Control(window, u"InfoPublicDistribution")) ==
            L"Visit the Vorn Demo website for news and support.",
        "the notice's link names the product");
  Check(Enabled(install), "Install starts enabled with the default folder");
  Check(Control(window, u"CancelCmd") == nullptr && Control(window, u"RunCmd") == nullptr &&
            Control(window, u"ProgressBar") == nullptr,
        "no other page has a window yet (the transfer page's would start copying)");
  Screenshot(L"welcome");

  // The instructions link opens the licence tab.
  HWND instructions = Control(window, u"Instructions");
  PostMessageW(instructions, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(instructions, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  HWND license = Control(window, u"License");
  Check(Eventually([&] { return IsWindowVisible(license) != 0; }),
        "following the instructions link shows the licence tab");
  Check(!IsWindowVisible(Control(window, u"Intro")), "the welcome tab is hidden then");
  const auto license_length = SendMessageW(license, WM_GETTEXTLENGTH, 0, 0);
  Check(license_length > 200, "the licence text is there");
  Check(TabCtrl_GetCurSel(tabs) == 1, "the tab strip shows the licence tab selected");
  Screenshot(L"license");

  // Right arrow: the options tab.
  SetForegroundWindow(window);
  PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  HWND folder = Control(window, u"InstallFolder");
  Check(Eventually([&] { return IsWindowVisible(folder) != 0; }), "the right arrow shows the options tab");
  Check(TextOf(folder).find(L"\\Vorn Software\\Vorn Demo") != std::wstring::npos &&
            TextOf(folder)[1] == L':',
        "the folder is Program Files, Company and the display name");
  Check(TextOf(Control(window, u"InstallFolderLabel")) == L"Install Vorn Demo in this folder:",
        "the folder label names the product");
  Check(TextOf(Control(window, u"SpaceRequired")).find(L"Disk space required: 1") == 0,
        "the space required is shown in MB");
  HWND desktop = Control(window, u"CreateDesktopShortcut");
  HWND quick_launch = Control(window, u"CreateQuickLaunchShortcut");
  Check(SendMessageW(desktop, BM_GETCHECK, 0, 0) == BST_CHECKED,
        "the desktop shortcut box starts checked");
  Check(SendMessageW(quick_launch, BM_GETCHECK, 0, 0) == BST_UNCHECKED,
        "the quick-launch shortcut box starts cleared");
  Screenshot(L"options");

  CheckFolderRules(window, install);
  CheckGroupRules(window, install);
  Type(folder, L"C:\\Program Files\\Vorn Software\\Vorn Demo");
  Eventually([&] { return Enabled(install); });

  // Clearing a box is remembered for the next run.
  Click(desktop);
  Check(SendMessageW(desktop, BM_GETCHECK, 0, 0) == BST_UNCHECKED, "the desktop box clears");

  // Back to the welcome tab with the left arrow twice, then Quit.
  PostMessageW(tabs, WM_KEYDOWN, VK_LEFT, 0);
  PostMessageW(tabs, WM_KEYDOWN, VK_LEFT, 0);
  Check(Eventually([&] { return IsWindowVisible(Control(window, u"Intro")) != 0; }),
        "the left arrow goes back to the welcome tab");
  Click(Control(window, u"QuitCmd"));
  Check(WaitForExit(setup, 20000) == 0, "Quit closes the installer with exit code 0");

  // The next run shows the box as it was left.
  Started again = Start(L"-LaunchedAsAdministrator -AllowMultipleInstances");
  HWND second = WaitForWindow(window_class.c_str(), 30000);
  Check(second != nullptr, "the installer starts again");
  if (second != nullptr) {
    PostMessageW(Control(second, u"Tabs"), WM_KEYDOWN, VK_LEFT, 0);
    HWND box = Control(second, u"CreateDesktopShortcut");
    Check(Eventually([&] { return IsWindowVisible(box) != 0; }),
          "the left arrow from the first tab wraps to the options tab");
    Check(SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED,
          "the cleared desktop box is remembered");
    Click(box);  // as it was, for the other scenarios
    Click(Control(second, u"QuitCmd"));
  }
  Check(WaitForExit(again, 20000) == 0, "the second run quits with 0 too");
  return failures;
}

BOOL CALLBACK CountVisible(HWND window, LPARAM context) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  if (window_class == name && IsWindowVisible(window)) ++*reinterpret_cast<int*>(context);
  return TRUE;
}

// The parent's window of the same class only owns the elevation prompt and
// is never shown.
int VisibleWindowsOfClass() {
  int count = 0;
  EnumWindows(&CountVisible, reinterpret_cast<LPARAM>(&count));
  return count;
}

int TwoProcesses() {
  Started parent = Start(L"");
  if (parent.process == nullptr) return 99;
  HWND window = WaitForWindow(window_class.c_str(), 30000);
  Check(window != nullptr, "a plain start shows the pages");
  if (window == nullptr) return 99;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  Check(owner != parent.id, "the pages belong to a second process");
  Check(WaitForExit(parent, 0) == 0xDEAD, "the first process waits for the second");

  Started second = Start(L"");
  Check(WaitForExit(second, 30000) == 0, "a second start ends with 0 while the first runs");
  Check(VisibleWindowsOfClass() == 1, "the second start shows no window of its own");
  Click(Control(window, u"QuitCmd"));
  Check(WaitForExit(parent, 20000) == 0, "the first process ends with 0 after the second");
  return failures;
}

int ProductRunning() {
  HANDLE marker = CreateMutexW(nullptr, FALSE, L"Local\\VornLib.{A3F7E25B-8DDD-4295-AABA-AA8422105818}");
  Started setup = Start(L"-LaunchedAsAdministrator -AllowMultipleInstances");
  if (setup.process == nullptr) return 99;
  // The message box belongs to the installer's process.
  HWND box = nullptr;
  Eventually([&] {
    for (HWND at = FindWindowW(nullptr, nullptr); at != nullptr;
         at = GetWindow(at, GW_HWNDNEXT)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(at, &owner);
      if (owner == setup.id && IsWindowVisible(at)) box = at;
    }
    return box != nullptr;
  });
  Check(box != nullptr, "a running product makes the installer say so");
  Check(FindWindowW(window_class.c_str(), nullptr) == nullptr, "and show no pages");
  Screenshot(L"product-running");
  if (box != nullptr) PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
  if (box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
  Check(WaitForExit(setup, 20000) == 0, "it then ends with 0");
  CloseHandle(marker);
  return failures;
}

// The main window's action message, as the transfer page's worker posts it.
void PostAction(HWND window, WPARAM action) {
  PostMessageW(window, 0x8100, action, 0);
}

enum : WPARAM { kShowCanceled = 0, kShowFailure = 1, kShowSuccess = 2 };

// Starts the installer and shows one of the last pages; null when it did not come.
HWND StartOnLastPage(Started& setup, const std::wstring& arguments, WPARAM action) {
  setup = Start(arguments);
  HWND window = WaitForWindow(window_class.c_str(), 30000);
  if (window == nullptr) return nullptr;
  PostAction(window, action);
  const bool shown = Eventually([&] {
    HWND quit = Control(window, u"QuitCmd", true);
    return quit != nullptr && Control(window, u"Tabs") == nullptr;
  });
  return shown ? window : nullptr;
}

int LastPages() {
  const std::wstring child = L"-LaunchedAsAdministrator -AllowMultipleInstances";
  Started setup;
  HWND window = StartOnLastPage(setup, child, kShowFailure);
  Check(window != nullptr, "the failure page replaces the main page");
  if (window != nullptr) {
    const std::wstring message = TextOf(Control(window, u"Message"));
    Check(!message.empty() && message[0] != L'<' && message[0] != L'#',
          "the failure page has its message");
    Check(Eventually([&] { return IsWindowVisible(Control(window, u"WebSite")) != 0; }),
          "and the support link");
    Screenshot(L"failure");
    // Escape leaves the installer.
    HWND quit = Control(window, u"QuitCmd", true);
    SetForegroundWindow(window);
    PostMessageW(quit, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  Check(WaitForExit(setup, 20000) == 0, "Escape on the failure page ends with 0");

  window = StartOnLastPage(setup, child, kShowCanceled);
  Check(window != nullptr, "the canceled page replaces the main page");
  if (window != nullptr) {
    Screenshot(L"canceled");
    Click(Control(window, u"QuitCmd", true));
  }
  Check(WaitForExit(setup, 20000) == 0, "Close on the canceled page ends with 0");

  window = StartOnLastPage(setup, child, kShowSuccess);
  Check(window != nullptr, "the success page replaces the main page");
  if (window != nullptr) {
    HWND run = Control(window, u"RunCmd", true);
    Check(TextOf(run) == L"&Start Vorn Demo", "the run button names the product");
    Check(TextOf(Control(window, u"Message")).find(L"Vorn Demo has been installed") == 0,
          "the success message names the product");
    Screenshot(L"success");
    Click(run);
  }
  Check(WaitForExit(setup, 20000) == 41,
        "in the elevated child the run button ends with 41 for the parent");

  // Through both processes: the parent takes the 41 (its product start
  // fails here, the package has no program) and still ends with 0.
  Started parent = Start(L"");
  HWND shown = WaitForWindow(window_class.c_str(), 30000);
  Check(shown != nullptr, "a plain start shows the pages");
  if (shown != nullptr) {
    PostAction(shown, kShowSuccess);
    HWND run = nullptr;
    Eventually([&] { return (run = Control(shown, u"RunCmd", true)) != nullptr; });
    Click(run);
  }
  Check(WaitForExit(parent, 30000) == 0, "the parent ends with 0 after its child's 41");
  return failures;
}

// One language's run: its three tabs photographed; gives the quit button's text.
std::wstring TourTabs(const wchar_t* language) {
  Started setup = Start(std::wstring(L"/Language=") + language +
                        L" -LaunchedAsAdministrator -AllowMultipleInstances");
  HWND window = WaitForWindow(window_class.c_str(), 30000);
  Check(window != nullptr, "the main window appears");
  if (window == nullptr) return std::wstring();
  const std::wstring quit = TextOf(Control(window, u"QuitCmd"));
  Check(!quit.empty() && quit != L"&Quit" && quit[0] != L'<' && quit[0] != L'#',
        "the buttons speak the chosen language");
  const std::wstring suffix = std::wstring(L"-") + language;
  Screenshot((L"welcome" + suffix).c_str());
  HWND tabs = Control(window, u"Tabs");
  PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  Eventually([&] { return IsWindowVisible(Control(window, u"License")) != 0; });
  Screenshot((L"license" + suffix).c_str());
  PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  Eventually([&] { return IsWindowVisible(Control(window, u"InstallFolder")) != 0; });
  Screenshot((L"options" + suffix).c_str());
  Click(Control(window, u"QuitCmd"));
  Check(WaitForExit(setup, 20000) == 0, "Quit ends with 0");
  return quit;
}

int Languages() {
  const std::wstring french_quit = TourTabs(L"fr");
  // The choice is remembered: the next run without the switch keeps it.
  Started again = Start(L"-LaunchedAsAdministrator -AllowMultipleInstances");
  HWND window = WaitForWindow(window_class.c_str(), 30000);
  Check(window != nullptr && TextOf(Control(window, u"QuitCmd")) == french_quit,
        "the next run keeps the chosen language");
  if (window != nullptr) Click(Control(window, u"QuitCmd"));
  Check(WaitForExit(again, 20000) == 0, "and quits with 0");
  TourTabs(L"it");
  TourTabs(L"zh");
  // English again for whoever runs next.
  Started english = Start(L"-Language=en -Quiet -LaunchedAsAdministrator -AllowMultipleInstances");
  Check(WaitForExit(english, 30000) == 0, "a quiet run shows nothing and ends with 0");
  return failures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::printf("usage: setup_pages_driver WORK SETUP.EXE WINDOW_CLASS SCENARIO\n");
    return 99;
  }
  work_folder = argv[1];
  setup_path = argv[2];
  window_class = argv[3];
  const std::wstring scenario = argv[4];
  if (scenario == L"pages") return Pages();
  if (scenario == L"two-processes") return TwoProcesses();
  if (scenario == L"product-running") return ProductRunning();
  if (scenario == L"languages") return Languages();
  if (scenario == L"last-pages") return LastPages();
  std::printf("unknown scenario\n");
  return 99;
}
