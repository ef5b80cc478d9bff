// Frame pacing and frame-time smoothing of the frame loop. Pure arithmetic
// over counter ticks, so that it behaves the same on every platform; the
// loop reads the counter and does the waiting.
#pragma once

#include <cstdint>

namespace vorn {

// How the loop waits before a frame.
struct FrameWait {
  enum Kind : uint32_t {
    kNone = 0,
    kSleep = 1,         // a plain sleep (frame rates above 10)
    kWaitForInput = 2,  // wake early on input (frame rates from 6 to 10)
  };
  Kind kind = kNone;
  uint32_t milliseconds = 0;
};

// The wait that keeps a frame rate of at most `max_frame_rate` when
// `elapsed_seconds` have passed since the previous frame. Rates of 5 and
// below are not paced.
FrameWait ComputeFrameWait(int32_t max_frame_rate, double elapsed_seconds) noexcept;

// The last 16 frame durations; a long pause counts as 0.2 seconds so that
// it does not make one huge step.
class FrameTimeRing {
 public:
  static constexpr uint32_t kSize = 16;
  static constexpr float kLongestFrame = 0.2f;

  // Records a duration (clamped); durations that are not positive are left out.
  void Add(float seconds) noexcept;
  // The mean of the recorded durations, 0 when there are none.
  float Mean() const noexcept;
  uint32_t Count() const noexcept { return count_; }

 private:
  float samples_[kSize] = {};
  uint32_t count_ = 0;
  uint32_t next_ = 0;
};

// The loop's view of time: the previous frame's timestamp and the ring.
class FrameTimer {
 public:
  // Before a frame: after idle frames the previous timestamp is forgotten
  // (so the next frame time is 0) and no wait is made, as on the first frame.
  FrameWait PlanWait(bool all_idle, int32_t max_frame_rate, int64_t now_ticks,
                     int64_t ticks_per_second) noexcept;
  // Starts a frame at `now_ticks` and gives its frame time in seconds.
  float StartFrame(int64_t now_ticks, int64_t ticks_per_second) noexcept;
  bool HasPrevious() const noexcept { return has_previous_; }

 private:
  double SecondsSince(int64_t now_ticks, int64_t ticks_per_second) const noexcept;

  int64_t previous_ = 0;
  bool has_previous_ = false;
  FrameTimeRing ring_;
};

}  // namespace vorn
