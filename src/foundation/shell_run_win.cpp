#include <windows.h>
// The shell and COM headers need windows.h first.
#include <shellapi.h>

#include <atomic>

#include "foundation/shell_run.h"
#include "foundation/system_error.h"
#include "foundation/windows_version.h"

namespace vorn {
namespace {

std::atomic<void*> owner_window{nullptr};

const wchar_t* Wide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}

// TokenElevation and its answer, which the XP-level headers do not declare.
constexpr TOKEN_INFORMATION_CLASS kTokenElevation = static_cast<TOKEN_INFORMATION_CLASS>(20);
struct TokenElevationAnswer {
  DWORD token_is_elevated;
};

// The exit code of a process that ends; 0 when it cannot be read.
uint32_t WaitForExitCode(HANDLE process) noexcept {
  DWORD exit_code = 0;
  if (WaitForSingleObject(process, INFINITE) == WAIT_FAILED ||
      !GetExitCodeProcess(process, &exit_code)) {
    exit_code = 0;
  }
  CloseHandle(process);
  return exit_code;
}

}  // namespace

void SetShellRunOwnerWindow(void* window) noexcept {
  owner_window.store(window, std::memory_order_release);
}

void* ShellRunOwnerWindow() noexcept {
  return owner_window.load(std::memory_order_acquire);
}

Result ShellRunForExitCode(const char16_t* file, const char16_t* parameters, bool wait,
                           const char16_t* verb, uint32_t& exit_code) noexcept {
  exit_code = 0;
  if (file == nullptr) return kInvalidArgument;
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  if (wait) {
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = static_cast<HWND>(ShellRunOwnerWindow());
  } else {
    // The shell may hand the work to a DDE conversation or a helper thread;
    // it must be done before this returns, or a caller that exits next would
    // cut it off.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_WAITFORINPUTIDLE;
  }
  info.lpVerb = Wide(verb);
  info.lpFile = Wide(file);
  info.lpParameters = Wide(parameters);
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) return LastSystemResult();
  if (wait && info.hProcess != nullptr) exit_code = WaitForExitCode(info.hProcess);
  return kOk;
}

Result ShellRun(const char16_t* file, const char16_t* parameters, bool wait,
                const char16_t* verb) noexcept {
  uint32_t exit_code = 0;
  const Result result = ShellRunForExitCode(file, parameters, wait, verb, exit_code);
  return result != kOk ? result : exit_code;
}

Result ShellRunElevated(const char16_t* file, const char16_t* parameters) noexcept {
  return ShellRun(file, parameters, true, IsElevated() ? u"open" : u"runas");
}

bool IsElevated() noexcept {
  if (WindowsVersion() <= kWindowsXP) return true;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
  TokenElevationAnswer answer = {};
  DWORD size = 0;
  const BOOL queried = GetTokenInformation(token, kTokenElevation, &answer, sizeof(answer), &size);
  CloseHandle(token);
  // Without an answer, asking for elevation again would only prompt the user
  // in vain.
  return !queried || answer.token_is_elevated != 0;
}

}  // namespace vorn
