#include "analytics/hit_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "analytics/support/recording_poster.h"

namespace vorn {
namespace {

using testing::PosterLog;
using testing::RecordingPoster;

std::u16string Text(const String& text) {
  return std::u16string(text.Text(), text.Length());
}

// A clock that moves only when the test says so.
std::atomic<int64_t> fake_now{0};
int64_t FakeClock() {
  return fake_now.load();
}

TEST(HitQueueTest, QueueTimeIsAppendedFromOneMillisecond) {
  EXPECT_EQ(Text(HitQueue::WithQueueTime(u"v=1", 0)), u"v=1");
  EXPECT_EQ(Text(HitQueue::WithQueueTime(u"v=1", 999)), u"v=1");
  EXPECT_EQ(Text(HitQueue::WithQueueTime(u"v=1", 1000)), u"v=1&qt=1");
  EXPECT_EQ(Text(HitQueue::WithQueueTime(u"v=1", 25999)), u"v=1&qt=25");
  EXPECT_EQ(Text(HitQueue::WithQueueTime(u"v=1", 3600000000LL)), u"v=1&qt=3600000");
}

TEST(HitQueueTest, PendingHitsArePostedInOrderBeforeTheQueueEnds) {
  PosterLog log;
  {
    HitQueue queue(new RecordingPoster(log));
    ASSERT_TRUE(queue.HasWorker());
    for (int i = 0; i < 50; ++i) {
      const std::u16string payload = u"hit" + std::u16string(1, u'A' + i % 26);
      ASSERT_EQ(queue.Enqueue(payload.c_str()), kOk);
    }
  }
  const auto payloads = log.Payloads();
  ASSERT_EQ(payloads.size(), 50u);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(payloads[i].substr(0, 4), u"hit" + std::u16string(1, u'A' + i % 26));
  }
}

// Holds the first post until released, so that later hits wait in the queue.
class GatedPoster : public HitPoster {
 public:
  explicit GatedPoster(PosterLog& log) : recorder_(log) {}
  std::atomic<bool> first_post_started{false};
  std::atomic<bool> released{false};
  Result Post(const String& payload, int32_t& status_code) noexcept override {
    if (!first_post_started.exchange(true)) {
      while (!released.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return recorder_.Post(payload, status_code);
  }

 private:
  RecordingPoster recorder_;
};

TEST(HitQueueTest, WaitingHitsCarryTheirQueueTime) {
  PosterLog log;
  fake_now = 1000000;
  auto* poster = new GatedPoster(log);
  {
    HitQueue queue(poster, &FakeClock);
    ASSERT_EQ(queue.Enqueue(u"at-once"), kOk);
    while (!poster->first_post_started.load()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(queue.Enqueue(u"waited"), kOk);
    fake_now += 2500;  // 2.5 ms in the queue
    poster->released = true;
  }
  EXPECT_EQ(log.Payloads(), (std::vector<std::u16string>{u"at-once", u"waited&qt=2"}));
}

TEST(HitQueueTest, FailedPostTurnsTheRunOffline) {
  for (int failure : {-1, 500, 199, 300}) {
    PosterLog log;
    log.statuses = {204, failure, 200};
    {
      HitQueue queue(new RecordingPoster(log), &FakeClock);
      for (const char16_t* hit : {u"one", u"two", u"three", u"four"}) queue.Enqueue(hit);
      queue.Stop();
      EXPECT_FALSE(queue.IsOnline()) << failure;
      // The network coming back changes nothing.
      EXPECT_EQ(queue.Enqueue(u"five"), kOk);
    }
    EXPECT_EQ(log.Payloads(), (std::vector<std::u16string>{u"one", u"two"})) << failure;
  }
}

TEST(HitQueueTest, BadPayloadsAndAFullQueueAreRefusedWithoutLoss) {
  HitQueue queue(nullptr);
  EXPECT_EQ(queue.Enqueue(nullptr), kInvalidArgument);
  EXPECT_EQ(queue.PendingCount(), 0u);
  for (uint32_t i = 0; i < HitQueue::kMaxPending; ++i) {
    ASSERT_EQ(queue.Enqueue(u"hit"), kOk) << i;
  }
  EXPECT_EQ(queue.Enqueue(u"one too many"), kDiskFull);
  EXPECT_EQ(queue.PendingCount(), HitQueue::kMaxPending);
}

TEST(HitQueueTest, HitsQueuedWhileTheWorkerWaitsAreWokenUp) {
  PosterLog log;
  HitQueue queue(new RecordingPoster(log));
  queue.Enqueue(u"first");
  // The worker drains and goes to wait; the next hit must wake it well
  // before its 20 s wait ends. The test only waits for the result.
  for (int i = 0; i < 500 && log.Payloads().size() < 1; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  queue.Enqueue(u"second");
  for (int i = 0; i < 1000 && log.Payloads().size() < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(log.Payloads().size(), 2u);
}

}  // namespace
}  // namespace vorn
