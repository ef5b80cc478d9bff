#include "application/frame_timer.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

constexpr int64_t kTicksPerSecond = 1000000;  // microsecond ticks
constexpr int64_t Ms(double ms) {
  return static_cast<int64_t>(ms * 1000);
}

TEST(FrameWaitTest, TwoMillisecondFrameAt200SleepsThree) {
  const FrameWait wait = ComputeFrameWait(200, 0.002);
  EXPECT_EQ(wait.kind, FrameWait::kSleep);
  EXPECT_EQ(wait.milliseconds, 3u);
}

TEST(FrameWaitTest, SlowFramesAreNotDelayed) {
  EXPECT_EQ(ComputeFrameWait(200, 0.005).kind, FrameWait::kNone);
  EXPECT_EQ(ComputeFrameWait(200, 0.0051).kind, FrameWait::kNone);
  EXPECT_EQ(ComputeFrameWait(200, 1.0).kind, FrameWait::kNone);
  // Less than a whole millisecond left truncates to no wait.
  EXPECT_EQ(ComputeFrameWait(200, 0.0045).kind, FrameWait::kNone);
}

TEST(FrameWaitTest, LowRatesWaitForInputAndTheLowestAreUnpaced) {
  const FrameWait wait = ComputeFrameWait(8, 0.0);
  EXPECT_EQ(wait.kind, FrameWait::kWaitForInput);
  EXPECT_EQ(wait.milliseconds, 125u);
  EXPECT_EQ(ComputeFrameWait(10, 0.05).kind, FrameWait::kWaitForInput);
  EXPECT_EQ(ComputeFrameWait(11, 0.05).kind, FrameWait::kSleep);
  EXPECT_EQ(ComputeFrameWait(5, 0.0).kind, FrameWait::kNone);
  EXPECT_EQ(ComputeFrameWait(0, 0.0).kind, FrameWait::kNone);
  EXPECT_EQ(ComputeFrameWait(-200, 0.0).kind, FrameWait::kNone);
}

TEST(FrameTimeRingTest, LongFrameCountsAsAFifthOfASecond) {
  FrameTimeRing ring;
  ring.Add(1.0f);
  EXPECT_FLOAT_EQ(ring.Mean(), 0.2f);
}

TEST(FrameTimeRingTest, MeanOfTheLastSixteenOnly) {
  FrameTimeRing ring;
  EXPECT_EQ(ring.Mean(), 0.0f);
  for (int i = 0; i < 16; ++i) ring.Add(0.1f);
  for (int i = 0; i < 8; ++i) ring.Add(0.01f);
  EXPECT_EQ(ring.Count(), 16u);
  EXPECT_NEAR(ring.Mean(), (8 * 0.1f + 8 * 0.01f) / 16, 1e-6);
}

TEST(FrameTimeRingTest, NonPositiveDurationsAreLeftOut) {
  FrameTimeRing ring;
  ring.Add(0.0f);
  ring.Add(-0.5f);
  EXPECT_EQ(ring.Count(), 0u);
  ring.Add(0.004f);
  EXPECT_FLOAT_EQ(ring.Mean(), 0.004f);
}

TEST(FrameTimerTest, FirstFrameHasNoWaitAndTimeZero) {
  FrameTimer timer;
  EXPECT_EQ(timer.PlanWait(false, 200, Ms(0), kTicksPerSecond).kind, FrameWait::kNone);
  EXPECT_EQ(timer.StartFrame(Ms(0), kTicksPerSecond), 0.0f);
  const FrameWait wait = timer.PlanWait(false, 200, Ms(2), kTicksPerSecond);
  EXPECT_EQ(wait.kind, FrameWait::kSleep);
  EXPECT_EQ(wait.milliseconds, 3u);
  EXPECT_FLOAT_EQ(timer.StartFrame(Ms(5), kTicksPerSecond), 0.005f);
}

TEST(FrameTimerTest, IdleFramesForgetThePreviousTimestamp) {
  FrameTimer timer;
  timer.StartFrame(Ms(0), kTicksPerSecond);
  timer.StartFrame(Ms(10), kTicksPerSecond);
  EXPECT_EQ(timer.PlanWait(true, 200, Ms(11), kTicksPerSecond).kind, FrameWait::kNone);
  EXPECT_FALSE(timer.HasPrevious());
  EXPECT_EQ(timer.StartFrame(Ms(5000), kTicksPerSecond), 0.0f);
  // The first busy frame after idle ones is not paced either: its previous
  // timestamp is the idle frame's own.
  EXPECT_FLOAT_EQ(timer.StartFrame(Ms(5010), kTicksPerSecond), (0.01f + 0.01f) / 2);
}

TEST(FrameTimerTest, PauseOfOneSecondIsClamped) {
  FrameTimer timer;
  timer.StartFrame(Ms(0), kTicksPerSecond);
  EXPECT_FLOAT_EQ(timer.StartFrame(Ms(1000), kTicksPerSecond), 0.2f);
}

}  // namespace
}  // namespace vorn
