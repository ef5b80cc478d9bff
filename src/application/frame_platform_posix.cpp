#include <time.h>

#include "application/frame_platform.h"

namespace vorn {

int64_t FrameCounterNow() noexcept {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t FrameCounterFrequency() noexcept {
  return 1000000000;
}

void WaitBeforeFrame(const FrameWait& wait) noexcept {
  if (wait.kind == FrameWait::kNone) return;
  timespec pause{static_cast<time_t>(wait.milliseconds / 1000),
                 static_cast<long>(wait.milliseconds % 1000) * 1000000};
  nanosleep(&pause, nullptr);
}

void ShowSystemWindow(void*, WindowShowMode) noexcept {}

}  // namespace vorn
