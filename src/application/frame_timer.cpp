#include "application/frame_timer.h"

namespace vorn {

FrameWait ComputeFrameWait(int32_t max_frame_rate, double elapsed_seconds) noexcept {
  FrameWait wait;
  if (max_frame_rate <= 5) return wait;
  const double remaining_ms = (1.0 / max_frame_rate - elapsed_seconds) * 1000.0;
  if (!(remaining_ms >= 1.0)) return wait;  // truncated to whole milliseconds
  wait.milliseconds = static_cast<uint32_t>(remaining_ms);
  wait.kind = max_frame_rate > 10 ? FrameWait::kSleep : FrameWait::kWaitForInput;
  return wait;
}

void FrameTimeRing::Add(float seconds) noexcept {
  if (!(seconds > 0.0f)) return;
  if (seconds > kLongestFrame) seconds = kLongestFrame;
  samples_[next_] = seconds;
  next_ = (next_ + 1) % kSize;
  if (count_ < kSize) ++count_;
}

float FrameTimeRing::Mean() const noexcept {
  if (count_ == 0) return 0.0f;
  float sum = 0.0f;
  for (uint32_t i = 0; i < count_; ++i) sum += samples_[i];
  return sum / static_cast<float>(count_);
}

double FrameTimer::SecondsSince(int64_t now_ticks, int64_t ticks_per_second) const noexcept {
  if (ticks_per_second <= 0) return 0.0;
  return static_cast<double>(now_ticks - previous_) / static_cast<double>(ticks_per_second);
}

FrameWait FrameTimer::PlanWait(bool all_idle, int32_t max_frame_rate, int64_t now_ticks,
                               int64_t ticks_per_second) noexcept {
  if (all_idle) has_previous_ = false;
  if (!has_previous_) return FrameWait();
  return ComputeFrameWait(max_frame_rate, SecondsSince(now_ticks, ticks_per_second));
}

float FrameTimer::StartFrame(int64_t now_ticks, int64_t ticks_per_second) noexcept {
  float frame_time = 0.0f;
  if (has_previous_) {
    ring_.Add(static_cast<float>(SecondsSince(now_ticks, ticks_per_second)));
    frame_time = ring_.Mean();
  }
  previous_ = now_ticks;
  has_previous_ = true;
  return frame_time;
}

}  // namespace vorn
