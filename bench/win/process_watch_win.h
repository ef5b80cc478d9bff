// Watching programs from outside, for the installer benchmark: starting a
// program, finding the first window it (or a process it started) shows,
// finding controls by their window identifier, and the peak working set of
// a process while it runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/result.h"

namespace probe {

// Seconds on the performance counter.
double Now();

// Joins a command line: the program and each argument quoted when it holds
// a blank, except arguments beginning with "/D=" or "_?=", which NSIS wants
// last and unquoted even when they hold blanks.
std::wstring CommandLine(const std::vector<std::wstring>& words);

// Starts the command; 29 when the program cannot be started.
vorn::Result Start(const std::vector<std::wstring>& words, PROCESS_INFORMATION& started);

// The visible top-level windows now on screen (visible, with a non-empty
// rectangle).
std::vector<HWND> VisibleTopLevelWindows();

// True when `pid` is `ancestor` or a process started (directly or not) by it.
bool IsDescendant(DWORD pid, DWORD ancestor);

// The first visible top-level window of class `window_class` (any window
// when empty) not in `before` and owned by `root` or a process it started.
HWND FindNewWindow(const std::vector<HWND>& before, DWORD root, const std::wstring& window_class);

// A descendant of `parent` with the control identifier `id` that is visible
// (itself and every parent up to `parent`); null when there is none.
HWND FindVisibleControl(HWND parent, uint16_t id);

// Keeps the largest peak working set seen of one process.
class PeakMemory {
 public:
  ~PeakMemory();
  bool Watch(DWORD pid);
  void Sample();
  uint64_t PeakBytes() const { return peak_; }

 private:
  HANDLE process_ = nullptr;
  uint64_t peak_ = 0;
};

// Ends a process by id (errors ignored).
void Terminate(DWORD pid);

}  // namespace probe
