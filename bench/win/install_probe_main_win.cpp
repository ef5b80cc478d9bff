// The installer benchmark's hands and stopwatch under Wine. Commands (each
// prints "name: value" lines; the exit code is a result code):
//
//   install_probe first-window [--timeout S] -- PROGRAM [ARGS...]
//     Time from starting PROGRAM to its first visible window: from the
//     CreateProcessW call to the first 1 ms poll that finds a top-level
//     window, visible with a non-empty rectangle, that was not there before
//     and belongs to PROGRAM's process or one it started (an installer may
//     relaunch itself elevated). Prints first_window_ms and window_class,
//     then ends every process it started. 9 when no window came in time.
//
//   install_probe install [--timeout S] --class CLASS -- PROGRAM [ARGS...]
//     Drives an installer of ours: waits for its main window (class CLASS),
//     for the enabled "InstallCmd" button, clicks it, and waits for the
//     success page ("RunCmd" shown). Prints first_window_ms, install_ms
//     (from the click to the success page) and peak_working_set_bytes (the
//     peak working set, GetProcessMemoryInfo, of the process that owns the
//     main window: the elevated installer; peak_before_click_bytes is the
//     peak while it showed its first page), and from the transfer page's
//     progress bar first_progress_ms, copied_ms (the bar full) and
//     after_copy_ms (from there to the success page). Quits through
//     "QuitCmd" afterwards. 7 when the installer ended on another page, 9 on
//     timeout.
//
//   install_probe run [--timeout S] -- PROGRAM [ARGS...]
//     Runs PROGRAM to its end. Prints elapsed_ms, exit_code and
//     peak_working_set_bytes (sampled every 10 ms while it runs).
//
//   install_probe copy SOURCE TARGET
//     Copies the folder tree with CopyFileW. Prints copy_ms, files, bytes.
//
// After "--" every word is passed on, quoted when it holds a blank, except
// NSIS's "/D=" and "_?=" arguments, which must stay unquoted.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "ui/window_id.h"
#include "win/process_watch_win.h"
#include "win/tree_copy_win.h"

namespace {

struct Options {
  double timeout = 600;
  std::wstring window_class;
  std::vector<std::wstring> command;
};

void Print(const char* name, double value) {
  std::printf("%s: %.1f\n", name, value);
  std::fflush(stdout);
}

void PrintCount(const char* name, uint64_t value) {
  std::printf("%s: %llu\n", name, static_cast<unsigned long long>(value));
  std::fflush(stdout);
}

int Usage() {
  std::fprintf(stderr,
               "usage: install_probe first-window [--timeout S] -- PROGRAM [ARGS...]\n"
               "       install_probe install [--timeout S] --class CLASS -- PROGRAM [ARGS...]\n"
               "       install_probe run [--timeout S] -- PROGRAM [ARGS...]\n"
               "       install_probe copy SOURCE TARGET\n");
  return vorn::kInvalidArgument;
}

// Options up to "--", then the command; false for anything unknown.
bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  int i = 2;
  for (; i < argc && std::wcscmp(argv[i], L"--") != 0; ++i) {
    if (std::wcscmp(argv[i], L"--timeout") == 0 && i + 1 < argc) {
      wchar_t* end = nullptr;
      options.timeout = std::wcstod(argv[++i], &end);
      if (*end != 0 || !(options.timeout > 0)) return false;
    } else if (std::wcscmp(argv[i], L"--class") == 0 && i + 1 < argc) {
      options.window_class = argv[++i];
    } else {
      return false;
    }
  }
  for (++i; i < argc; ++i) options.command.push_back(argv[i]);
  return !options.command.empty();
}

void EndStarted(PROCESS_INFORMATION& started, DWORD window_pid) {
  if (window_pid != 0) probe::Terminate(window_pid);
  if (WaitForSingleObject(started.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(started.hProcess, 1);
    WaitForSingleObject(started.hProcess, 5000);
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
}

// Waits for a new visible window of the started program; null on timeout
// or when the program ended first.
HWND WaitForWindow(const std::vector<HWND>& before, const PROCESS_INFORMATION& started,
                   const std::wstring& window_class, double deadline) {
  while (probe::Now() < deadline) {
    if (HWND window = probe::FindNewWindow(before, started.dwProcessId, window_class)) {
      return window;
    }
    if (WaitForSingleObject(started.hProcess, 1) == WAIT_OBJECT_0) {
      // Its window may belong to a child that outlives it.
      if (HWND window = probe::FindNewWindow(before, started.dwProcessId, window_class)) {
        return window;
      }
      if (window_class.empty()) return nullptr;
      Sleep(1);
    }
  }
  return nullptr;
}

int FirstWindow(const Options& options) {
  const std::vector<HWND> before = probe::VisibleTopLevelWindows();
  PROCESS_INFORMATION started;
  const double start = probe::Now();
  if (const vorn::Result r = probe::Start(options.command, started); r != vorn::kOk) {
    std::fprintf(stderr, "install_probe: cannot start the program (%u)\n", r);
    return static_cast<int>(r);
  }
  HWND window = WaitForWindow(before, started, options.window_class, start + options.timeout);
  const double shown = probe::Now();
  DWORD window_pid = 0;
  if (window != nullptr) {
    Print("first_window_ms", (shown - start) * 1000);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    std::printf("window_class: %ls\n", name);
    GetWindowThreadProcessId(window, &window_pid);
  }
  EndStarted(started, window_pid);
  return window != nullptr ? vorn::kOk : vorn::kTimedOut;
}

bool Shown(HWND main, const char16_t* name) {
  return probe::FindVisibleControl(main, vorn::WindowIdOf(name)) != nullptr;
}

// The page the installer is on after the click, once it has left the
// main page and the transfer: 0 success, 7 another end page, 18 not yet.
vorn::Result EndPage(HWND main) {
  if (Shown(main, u"RunCmd")) return vorn::kOk;
  if (Shown(main, u"ProgressBar") || Shown(main, u"InstallCmd")) return vorn::kNotReady;
  return Shown(main, u"QuitCmd") ? vorn::kFailed : vorn::kNotReady;
}

// When the transfer page's progress bar first moved and when it was full,
// from the bar's own position and range.
struct TransferTimes {
  double first_progress = 0;
  double bar_full = 0;

  void Sample(HWND main) {
    if (bar_full > 0) return;
    HWND bar = probe::FindVisibleControl(main, vorn::WindowIdOf(u"ProgressBar"));
    if (bar == nullptr) return;
    DWORD_PTR position = 0;
    DWORD_PTR high = 0;
    if (!SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 100, &position) ||
        !SendMessageTimeoutW(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 100, &high)) {
      return;
    }
    const double now = probe::Now();
    if (position > 0 && first_progress == 0) first_progress = now;
    if (high > 0 && position >= high) bar_full = now;
  }
};

int Install(const Options& options) {
  if (options.window_class.empty()) return Usage();
  const std::vector<HWND> before = probe::VisibleTopLevelWindows();
  PROCESS_INFORMATION started;
  const double start = probe::Now();
  const double deadline = start + options.timeout;
  if (const vorn::Result r = probe::Start(options.command, started); r != vorn::kOk) {
    std::fprintf(stderr, "install_probe: cannot start the installer (%u)\n", r);
    return static_cast<int>(r);
  }
  HWND main = WaitForWindow(before, started, options.window_class, deadline);
  if (main == nullptr) {
    std::fprintf(stderr, "install_probe: no window of class %ls\n", options.window_class.c_str());
    EndStarted(started, 0);
    return vorn::kTimedOut;
  }
  Print("first_window_ms", (probe::Now() - start) * 1000);
  DWORD installer_pid = 0;
  GetWindowThreadProcessId(main, &installer_pid);
  probe::PeakMemory memory;
  if (!memory.Watch(installer_pid)) std::fprintf(stderr, "install_probe: no memory figures\n");

  // An installer that ends early (a fault, a refusal) takes its window with
  // it: that is reported at once, not after the whole timeout.
  HWND install = nullptr;
  while (probe::Now() < deadline && IsWindow(main) &&
         (install == nullptr || !IsWindowEnabled(install))) {
    install = probe::FindVisibleControl(main, vorn::WindowIdOf(u"InstallCmd"));
    Sleep(5);
  }
  if (!IsWindow(main)) {
    std::fprintf(stderr, "install_probe: the installer's window closed before the install\n");
    EndStarted(started, installer_pid);
    return vorn::kFailed;
  }
  if (install == nullptr || !IsWindowEnabled(install)) {
    std::fprintf(stderr, "install_probe: no enabled install button\n");
    EndStarted(started, installer_pid);
    return vorn::kTimedOut;
  }
  memory.Sample();
  const uint64_t peak_before_click = memory.PeakBytes();
  const double click = probe::Now();
  PostMessageW(install, BM_CLICK, 0, 0);
  // Polled every 5 ms: often enough for installs of seconds, rarely enough
  // not to take the processor from the installer being measured.
  vorn::Result page = vorn::kNotReady;
  int failure_polls = 0;
  TransferTimes transfer;
  while (probe::Now() < deadline) {
    if (!IsWindow(main)) {
      std::fprintf(stderr, "install_probe: the installer's window closed during the install\n");
      break;
    }
    memory.Sample();
    transfer.Sample(main);
    page = EndPage(main);
    if (page == vorn::kOk) break;
    // Another end page must stay for a while: between two pages neither may
    // be shown for a moment.
    failure_polls = page == vorn::kFailed ? failure_polls + 1 : 0;
    if (failure_polls >= 20) break;
    Sleep(5);
  }
  const double done = probe::Now();
  memory.Sample();
  if (page == vorn::kOk) {
    Print("install_ms", (done - click) * 1000);
    // Where the time went: until the first chunk was reported, until the
    // bar was full (every byte copied), and from there to the success page
    // (recording the installation, the product's own registration run,
    // shortcuts, the page change).
    if (transfer.first_progress > 0)
      Print("first_progress_ms", (transfer.first_progress - click) * 1000);
    if (transfer.bar_full > 0) {
      Print("copied_ms", (transfer.bar_full - click) * 1000);
      Print("after_copy_ms", (done - transfer.bar_full) * 1000);
    }
  }
  PrintCount("peak_working_set_bytes", memory.PeakBytes());
  PrintCount("peak_before_click_bytes", peak_before_click);
  if (HWND quit = probe::FindVisibleControl(main, vorn::WindowIdOf(u"QuitCmd"))) {
    PostMessageW(quit, BM_CLICK, 0, 0);
  }
  if (WaitForSingleObject(started.hProcess, 15000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "install_probe: the installer did not quit; ended it\n");
  }
  EndStarted(started, installer_pid);
  if (!IsWindow(main) && page != vorn::kOk) return vorn::kFailed;
  if (page == vorn::kNotReady) return vorn::kTimedOut;
  if (page != vorn::kOk) std::fprintf(stderr, "install_probe: the installer failed\n");
  return static_cast<int>(page);
}

int Run(const Options& options) {
  PROCESS_INFORMATION started;
  const double start = probe::Now();
  if (const vorn::Result r = probe::Start(options.command, started); r != vorn::kOk) {
    std::fprintf(stderr, "install_probe: cannot start the program (%u)\n", r);
    return static_cast<int>(r);
  }
  probe::PeakMemory memory;
  memory.Watch(started.dwProcessId);
  bool ended = false;
  while (!ended && probe::Now() < start + options.timeout) {
    memory.Sample();
    ended = WaitForSingleObject(started.hProcess, 10) == WAIT_OBJECT_0;
  }
  const double end = probe::Now();
  if (!ended) {
    std::fprintf(stderr, "install_probe: the program did not end in time\n");
    EndStarted(started, 0);
    return vorn::kTimedOut;
  }
  DWORD code = 0;
  GetExitCodeProcess(started.hProcess, &code);
  Print("elapsed_ms", (end - start) * 1000);
  PrintCount("exit_code", code);
  PrintCount("peak_working_set_bytes", memory.PeakBytes());
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return vorn::kOk;
}

int Copy(int argc, wchar_t** argv) {
  if (argc != 4) return Usage();
  probe::CopyTotals totals;
  const double start = probe::Now();
  const vorn::Result r = probe::CopyTree(argv[2], argv[3], totals);
  const double end = probe::Now();
  if (r != vorn::kOk) {
    std::fprintf(stderr, "install_probe: copying failed (%u) after %llu files\n", r,
                 static_cast<unsigned long long>(totals.files));
    return static_cast<int>(r);
  }
  Print("copy_ms", (end - start) * 1000);
  PrintCount("files", totals.files);
  PrintCount("bytes", totals.bytes);
  return vorn::kOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  if (command == L"copy") return Copy(argc, argv);
  Options options;
  if (!ParseOptions(argc, argv, options)) return Usage();
  if (command == L"first-window") return FirstWindow(options);
  if (command == L"install") return Install(options);
  if (command == L"run") return Run(options);
  return Usage();
}
