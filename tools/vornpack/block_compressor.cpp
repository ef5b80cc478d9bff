#include "block_compressor.h"

#include "foundation/thread_object.h"

namespace vornpack {

class BlockCompressor::Worker : public vorn::ThreadObject {
 public:
  explicit Worker(BlockCompressor& owner) : owner_(owner) {}
  ~Worker() override { Stop(true); }

 protected:
  Result Run() noexcept override {
    BlockJob* job = nullptr;
    while (owner_.TakeJob(job)) {
      job->result = codecs_.Encode(*job);
      owner_.Complete(job);
    }
    return vorn::kOk;
  }

 private:
  BlockCompressor& owner_;
  BlockCodecCache codecs_;
};

BlockCompressor::BlockCompressor() = default;

BlockCompressor::~BlockCompressor() {
  Stop();
}

Result BlockCompressor::Start(uint32_t threads) {
  Stop();
  stopping_ = false;
  if (threads <= 1) return vorn::kOk;
  if (!work_.IsValid() || !finished_.IsValid()) return vorn::kSystemFailure;
  for (uint32_t i = 0; i < threads; ++i) {
    workers_.push_back(std::make_unique<Worker>(*this));
    Result r = workers_.back()->Start();
    if (r != vorn::kOk) {
      workers_.pop_back();
      Stop();
      return r;
    }
  }
  return vorn::kOk;
}

void BlockCompressor::Submit(BlockJob* job) {
  job->done = false;
  if (workers_.empty()) {
    job->result = inline_codecs_.Encode(*job);
    job->done = true;
    return;
  }
  {
    vorn::LockGuard guard(lock_);
    queue_.push_back(job);
  }
  work_.Post();
}

void BlockCompressor::WaitFor(BlockJob* job) {
  for (;;) {
    {
      vorn::LockGuard guard(lock_);
      if (job->done) return;
    }
    // Every completion posts once; a wake-up for another job just loops.
    finished_.Wait();
  }
}

bool BlockCompressor::IsDone(BlockJob* job) {
  vorn::LockGuard guard(lock_);
  return job->done;
}

void BlockCompressor::Stop() {
  if (workers_.empty()) return;
  {
    // Jobs nobody took yet are dropped: Stop ends a build that failed, or
    // one whose jobs have all been collected.
    vorn::LockGuard guard(lock_);
    stopping_ = true;
    queue_.clear();
  }
  for (size_t i = 0; i < workers_.size(); ++i) work_.Post();
  workers_.clear();  // each worker's destructor waits for its thread
}

bool BlockCompressor::TakeJob(BlockJob*& job) {
  for (;;) {
    work_.Wait();
    vorn::LockGuard guard(lock_);
    if (!queue_.empty()) {
      job = queue_.front();
      queue_.pop_front();
      return true;
    }
    if (stopping_) return false;
  }
}

void BlockCompressor::Complete(BlockJob* job) {
  {
    vorn::LockGuard guard(lock_);
    job->done = true;
  }
  finished_.Post();
}

}  // namespace vornpack
