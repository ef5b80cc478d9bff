#include <windows.h>

#include "application/frame_platform.h"

namespace vorn {

int64_t FrameCounterNow() noexcept {
  LARGE_INTEGER now;
  // Never fails on XP and later; the tick count keeps time if it ever does.
  if (!QueryPerformanceCounter(&now)) return static_cast<int64_t>(GetTickCount());
  return now.QuadPart;
}

int64_t FrameCounterFrequency() noexcept {
  static const int64_t frequency = [] {
    LARGE_INTEGER value;
    if (!QueryPerformanceFrequency(&value) || value.QuadPart <= 0) return int64_t{1000};
    return static_cast<int64_t>(value.QuadPart);
  }();
  return frequency;
}

void WaitBeforeFrame(const FrameWait& wait) noexcept {
  if (wait.kind == FrameWait::kSleep) {
    Sleep(wait.milliseconds);
  } else if (wait.kind == FrameWait::kWaitForInput) {
    // A timeout or an input message both end the wait; a failure only means
    // the frame comes early.
    MsgWaitForMultipleObjectsEx(0, nullptr, wait.milliseconds, QS_ALLINPUT,
                                MWMO_WAITALL | MWMO_INPUTAVAILABLE);
  }
}

void ShowSystemWindow(void* handle, WindowShowMode mode) noexcept {
  HWND window = static_cast<HWND>(handle);
  if (window == nullptr) return;
  int command = SW_SHOW;
  if (mode == WindowShowMode::kMaximize) command = SW_MAXIMIZE;
  if (mode == WindowShowMode::kShowWithoutActivating) command = SW_SHOWNOACTIVATE;
  // ShowWindow reports the previous visibility, not a failure.
  ShowWindow(window, command);
  UpdateWindow(window);
}

}  // namespace vorn
