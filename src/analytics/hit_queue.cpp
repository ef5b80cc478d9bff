#include "analytics/hit_queue.h"

#include <new>

#include "foundation/date_time.h"
#include "foundation/format.h"

namespace vorn {

namespace {

int64_t UtcNow() {
  return DateTime::Now().Value();
}

}  // namespace

HitQueue::HitQueue(HitPoster* poster, Clock clock) noexcept
    : clock_(clock != nullptr ? clock : &UtcNow), poster_(poster), worker_(*this) {
  if (poster_ != nullptr && wake_.State() == kOk) worker_started_ = worker_.Start() == kOk;
}

HitQueue::~HitQueue() {
  Stop();
  delete[] items_;
  delete poster_;
}

void HitQueue::Stop() noexcept {
  if (!worker_started_) return;
  worker_.Stop(false);
  wake_.Signal();
  worker_.Stop(true);
  worker_started_ = false;
}

uint32_t HitQueue::PendingCount() noexcept {
  LockGuard guard(lock_);
  return count_;
}

Result HitQueue::Grow() noexcept {
  uint32_t capacity = 16;
  while (capacity < count_ + 1) capacity *= 2;
  Item* grown = new (std::nothrow) Item[capacity];
  if (grown == nullptr) return kOutOfMemory;
  for (uint32_t i = 0; i < count_; ++i) {
    grown[i] = static_cast<Item&&>(items_[(head_ + i) % capacity_]);
  }
  delete[] items_;
  items_ = grown;
  capacity_ = capacity;
  head_ = 0;
  return kOk;
}

Result HitQueue::Enqueue(const char16_t* payload) noexcept {
  if (payload == nullptr) return kInvalidArgument;
  {
    LockGuard guard(lock_);
    if (count_ >= kMaxPending) return kDiskFull;
    if (count_ == capacity_) {
      const Result grown = Grow();
      if (grown != kOk) return grown;
    }
    Item& item = items_[(head_ + count_) % capacity_];
    item.payload = payload;
    if (item.payload.Length() != TextLength(payload)) {
      item.payload = String();
      return kOutOfMemory;
    }
    item.created = clock_();
    ++count_;
  }
  wake_.Signal();
  return kOk;
}

bool HitQueue::TakeOldest(Item& item) noexcept {
  LockGuard guard(lock_);
  if (count_ == 0) return false;
  item = static_cast<Item&&>(items_[head_]);
  items_[head_] = Item();
  head_ = (head_ + 1) % capacity_;
  --count_;
  return true;
}

String HitQueue::WithQueueTime(const String& payload, int64_t waited_microseconds) noexcept {
  const int64_t milliseconds = waited_microseconds / 1000;
  if (milliseconds < 1) return payload;
  return payload + u"&qt=" + IntegerText(milliseconds);
}

void HitQueue::Send(const Item& item) noexcept {
  const String payload = WithQueueTime(item.payload, clock_() - item.created);
  // Offline: the hit is dropped without touching the network.
  if (!online_.load(std::memory_order_acquire)) return;
  int32_t status = 0;
  const Result result = poster_->Post(payload, status);
  if (result != kOk || status < 200 || status > 299) {
    online_.store(false, std::memory_order_release);
  }
}

void HitQueue::Drain() noexcept {
  Item item;
  while (TakeOldest(item)) Send(item);
}

Result HitQueue::Worker::Run() noexcept {
  while (!StopRequested()) {
    queue_.Drain();
    if (StopRequested()) break;
    queue_.wake_.Wait(kIdleWaitMilliseconds);
  }
  queue_.Drain();
  return kOk;
}

}  // namespace vorn
