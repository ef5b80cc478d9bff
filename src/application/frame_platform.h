// The platform side of the frame loop: the high-resolution counter, the
// waits between frames, and showing the main window.
#pragma once

#include <cstdint>

#include "application/frame_timer.h"

namespace vorn {

// The counter and its ticks per second (never 0).
int64_t FrameCounterNow() noexcept;
int64_t FrameCounterFrequency() noexcept;
// Waits as planned: a sleep, or a wait that returns early when input arrives.
void WaitBeforeFrame(const FrameWait& wait) noexcept;

enum class WindowShowMode : uint32_t { kShow = 0, kMaximize = 1, kShowWithoutActivating = 2 };
// Shows and paints the window once (nothing where there are no windows).
void ShowSystemWindow(void* handle, WindowShowMode mode) noexcept;

}  // namespace vorn
