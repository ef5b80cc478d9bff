
// The Windows headers depend on their order.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlwapi.h>
// clang-format on

#include "application/application_core.h"
#include "application/application_window.h"
#include "application/platform_module.h"

namespace vorn {

namespace {

constexpr DWORD kCommonControlClasses =
    ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES | ICC_STANDARD_CLASSES;
static_assert(kCommonControlClasses == 0x46FF);

String ReadProgramPath() noexcept {
  wchar_t buffer[512];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 511);
  if (length == 0 || length >= 511) return String();
  String path(reinterpret_cast<const char16_t*>(buffer), length);
  path.Trim();
  return path;
}

uint32_t ReadCommonControlsVersion() noexcept {
  HMODULE library = GetModuleHandleW(L"comctl32.dll");
  if (library == nullptr) return 0;
  const auto get_version = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
  if (get_version == nullptr) return 0;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(get_version(&info))) return 0;
  return (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
}

void FlashCaption(HWND window) noexcept {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = window;
  flash.dwFlags = FLASHW_CAPTION;
  flash.uCount = 3;
  flash.dwTimeout = 75;
  FlashWindowEx(&flash);
}

// Whether `window` is the foreground window or one of its owners.
bool InForegroundChain(HWND window) noexcept {
  for (HWND at = GetForegroundWindow(); at != nullptr; at = GetWindow(at, GW_OWNER)) {
    if (at == window) return true;
  }
  return false;
}

}  // namespace

PlatformModule::PlatformModule() noexcept {
  ole_result_ = OleInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, kCommonControlClasses};
  // Without them the controls fall back to the classes the system registers.
  InitCommonControlsEx(&controls);
  module_handle_ = GetModuleHandleW(nullptr);
  program_path_ = ReadProgramPath();
  common_controls_version_ = ReadCommonControlsVersion();
}

PlatformModule::~PlatformModule() {
  if (SUCCEEDED(ole_result_)) OleUninitialize();
}

void PlatformModule::BringOtherInstanceForward(const String& window_class) noexcept {
  HWND other = FindWindowW(reinterpret_cast<const wchar_t*>(window_class.Text()), nullptr);
  if (other == nullptr) return;
  if (IsWindowVisible(other)) {
    BringWindowToTop(other);
    ShowWindow(other, IsZoomed(other) ? SW_MAXIMIZE : SW_RESTORE);
  }
  HWND popup = GetLastActivePopup(other);
  if (popup == nullptr || !IsWindowVisible(popup)) return;
  BringWindowToTop(popup);
  SetForegroundWindow(popup);
  if (!InForegroundChain(popup)) FlashCaption(popup);
}

Result PlatformModule::PumpMessages(float frame_time) noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  ApplicationWindow* window = core.MainWindow();
  // Nothing moved in the last frame: sleep until something does.
  if (core.AllIdle()) WaitMessage();
  window->UpdateFrame(frame_time);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      core.RequestQuit(static_cast<int32_t>(message.wParam), false);
      break;
    }
    // The window may have gone while the previous message was handled.
    ApplicationWindow* current = core.MainWindow();
    if (current != nullptr && current->PreTranslateMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return kOk;
}

}  // namespace vorn
