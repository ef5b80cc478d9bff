// The sending queue of the usage tracker: hits wait here, oldest first, for
// the worker thread that posts them. After the first failed post the run is
// offline and every later hit is dropped without using the network.
#pragma once

#include <atomic>
#include <cstdint>

#include "analytics/hit_poster.h"
#include "analytics/wake_event.h"
#include "foundation/lock_object.h"
#include "foundation/result.h"
#include "foundation/string.h"
#include "foundation/thread_object.h"

namespace vorn {

class HitQueue {
 public:
  static constexpr uint32_t kMaxPending = 4096;
  static constexpr uint32_t kIdleWaitMilliseconds = 20000;

  // The current UTC time in microseconds (replaceable for tests).
  using Clock = int64_t (*)();

  // Takes the poster (may be null: then no worker runs and hits only queue
  // up) and starts the worker.
  explicit HitQueue(HitPoster* poster, Clock clock = nullptr) noexcept;
  // Posts what is pending, then ends the worker (without a time limit: the
  // HTTP time-outs bound each post).
  ~HitQueue();
  HitQueue(const HitQueue&) = delete;
  HitQueue& operator=(const HitQueue&) = delete;

  // 5 for a null payload, 13 when 4,096 hits are pending, 12 out of memory.
  Result Enqueue(const char16_t* payload) noexcept;
  // Posts what is pending, then ends the worker. Nothing is sent after it.
  void Stop() noexcept;

  bool HasWorker() const noexcept { return worker_started_; }
  bool IsOnline() const noexcept { return online_.load(std::memory_order_acquire); }
  uint32_t PendingCount() noexcept;

  // The payload as posted after waiting `waited_microseconds`: a wait of a
  // millisecond or more appends "&qt=" and the whole milliseconds.
  static String WithQueueTime(const String& payload, int64_t waited_microseconds) noexcept;

 private:
  struct Item {
    int64_t created = 0;
    String payload;
  };

  class Worker : public ThreadObject {
   public:
    explicit Worker(HitQueue& queue) noexcept : queue_(queue) {}
    ~Worker() override { Stop(true); }

   protected:
    Result Run() noexcept override;

   private:
    HitQueue& queue_;
  };

  Result Grow() noexcept;
  bool TakeOldest(Item& item) noexcept;
  void Drain() noexcept;
  void Send(const Item& item) noexcept;

  Clock clock_;
  HitPoster* poster_;
  LockObject lock_;
  WakeEvent wake_;
  Worker worker_;
  bool worker_started_ = false;
  std::atomic<bool> online_{true};
  Item* items_ = nullptr;  // a ring of capacity_ items
  uint32_t capacity_ = 0;
  uint32_t head_ = 0;
  uint32_t count_ = 0;
};

}  // namespace vorn
