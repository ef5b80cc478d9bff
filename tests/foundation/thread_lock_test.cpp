#include <gtest/gtest.h>

#include <atomic>

#include "foundation/lock_object.h"
#include "foundation/thread_object.h"

namespace vorn {
namespace {

// Adds to a shared counter under a shared lock, one unit at a time.
class CountingThread : public ThreadObject {
 public:
  CountingThread(LockObject& lock, uint64_t& counter, int times)
      : lock_(lock), counter_(counter), times_(times) {}
  ~CountingThread() override { Stop(true); }

 protected:
  Result Run() noexcept override {
    for (int i = 0; i < times_; ++i) {
      LockGuard hold(lock_);
      const uint64_t seen = counter_;
      counter_ = seen + 1;
    }
    return 7;
  }

 private:
  LockObject& lock_;
  uint64_t& counter_;
  int times_;
};

// Runs until it is asked to stop, counting its rounds.
class PollingThread : public ThreadObject {
 public:
  ~PollingThread() override { Stop(true); }
  std::atomic<uint64_t> rounds{0};
  std::atomic<bool> started{false};

 protected:
  Result Run() noexcept override {
    started = true;
    while (!StopRequested()) rounds.fetch_add(1);
    return 3;
  }
};

// Asks to be stopped and waited for from inside its own work.
class SelfStoppingThread : public ThreadObject {
 public:
  ~SelfStoppingThread() override { Stop(true); }
  std::atomic<Result> stop_result{kOk};
  std::atomic<bool> saw_request{false};
  std::atomic<Result> start_result{kOk};

 protected:
  Result Run() noexcept override {
    stop_result = Stop(true);
    saw_request = StopRequested();
    start_result = Start();
    return 11;
  }
};

void WaitUntil(const std::atomic<bool>& flag) {
  while (!flag.load()) {
  }
}

TEST(LockObjectTest, TwoThreadsContendingLoseNoIncrement) {
  LockObject lock;
  uint64_t counter = 0;
  CountingThread first(lock, counter, 100000);
  CountingThread second(lock, counter, 100000);
  ASSERT_EQ(first.Start(), kOk);
  ASSERT_EQ(second.Start(), kOk);
  EXPECT_EQ(first.Stop(true), kOk);
  EXPECT_EQ(second.Stop(true), kOk);
  EXPECT_EQ(counter, 200000u);
  EXPECT_EQ(first.ThreadResult(), 7u);
  EXPECT_EQ(second.ThreadResult(), 7u);
}

TEST(LockObjectTest, TheHoldingThreadMayEnterAgain) {
  LockObject lock;
  lock.Lock();
  lock.Lock();
  lock.Unlock();
  lock.Unlock();
  // Still usable by another thread afterwards.
  uint64_t counter = 0;
  CountingThread other(lock, counter, 10);
  ASSERT_EQ(other.Start(), kOk);
  other.Stop(true);
  EXPECT_EQ(counter, 10u);
  EXPECT_FALSE(lock.IsNamed());
}

TEST(LockObjectTest, NamedLockNeedsAName) {
  LockObject lock;
  EXPECT_EQ(lock.CreateNamed(nullptr), kInvalidName);
  EXPECT_EQ(lock.CreateNamed(u""), kInvalidName);
  EXPECT_FALSE(lock.IsNamed());
  EXPECT_FALSE(lock.AlreadyExisted());
}

TEST(ThreadObjectTest, RunsTheWorkAndKeepsItsResult) {
  LockObject lock;
  uint64_t counter = 0;
  CountingThread thread(lock, counter, 5);
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(thread.Stop(true), kOk);  // nothing to stop yet
  ASSERT_EQ(thread.Start(), kOk);
  EXPECT_EQ(thread.Stop(true), kOk);
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(thread.ThreadId(), 0u);
  EXPECT_EQ(thread.ThreadResult(), 7u);
  EXPECT_EQ(counter, 5u);
  // A second start runs the work again.
  ASSERT_EQ(thread.Start(), kOk);
  thread.Stop(true);
  EXPECT_EQ(counter, 10u);
}

TEST(ThreadObjectTest, StopRequestEndsPollingWork) {
  PollingThread thread;
  ASSERT_EQ(thread.Start(), kOk);
  WaitUntil(thread.started);
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_NE(thread.ThreadId(), 0u);
  EXPECT_FALSE(thread.StopRequested());
  EXPECT_EQ(thread.Stop(false), kOk);
  EXPECT_TRUE(thread.StopRequested());
  EXPECT_EQ(thread.Stop(true), kOk);
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(thread.ThreadResult(), 3u);
}

TEST(ThreadObjectTest, StartStopsThePreviousThreadFirst) {
  PollingThread thread;
  ASSERT_EQ(thread.Start(), kOk);
  WaitUntil(thread.started);
  thread.started = false;
  // Without the stop of the previous run this would leave a thread behind
  // that never ends.
  ASSERT_EQ(thread.Start(), kOk);
  WaitUntil(thread.started);
  EXPECT_FALSE(thread.StopRequested());
  EXPECT_TRUE(thread.IsRunning());
  thread.Stop(true);
  EXPECT_EQ(thread.ThreadResult(), 3u);
}

TEST(ThreadObjectTest, AThreadCannotWaitForItself) {
  SelfStoppingThread thread;
  ASSERT_EQ(thread.Start(), kOk);
  EXPECT_EQ(thread.Stop(true), kOk);
  EXPECT_EQ(thread.stop_result.load(), kInvalidState);
  EXPECT_TRUE(thread.saw_request.load());
  EXPECT_EQ(thread.start_result.load(), kInvalidState);
  EXPECT_EQ(thread.ThreadResult(), 11u);
}

TEST(ThreadObjectTest, DestructionStopsARunningThread) {
  std::atomic<uint64_t>* rounds = nullptr;
  {
    PollingThread thread;
    ASSERT_EQ(thread.Start(), kOk);
    WaitUntil(thread.started);
    rounds = &thread.rounds;
    EXPECT_GT(rounds->load() + 1, 0u);
  }
  SUCCEED();  // the scope ended: the thread was stopped and joined
}

std::atomic<int> guarded_calls{0};

Result CountingGuard(ThreadBody body, void* context) {
  guarded_calls.fetch_add(1);
  return body(context) + 100;
}

TEST(ThreadObjectTest, BodiesRunThroughTheInstalledGuard) {
  LockObject lock;
  uint64_t counter = 0;
  CountingThread thread(lock, counter, 1);
  SetThreadBodyGuard(&CountingGuard);
  ASSERT_EQ(thread.Start(), kOk);
  thread.Stop(true);
  SetThreadBodyGuard(nullptr);
  EXPECT_EQ(guarded_calls.load(), 1);
  EXPECT_EQ(thread.ThreadResult(), 107u);
  ASSERT_EQ(thread.Start(), kOk);
  thread.Stop(true);
  EXPECT_EQ(guarded_calls.load(), 1);
  EXPECT_EQ(thread.ThreadResult(), 7u);
}

}  // namespace
}  // namespace vorn
