#include "foundation/thread_object.h"

namespace vorn {
namespace {

std::atomic<ThreadBodyGuard> body_guard{nullptr};

}  // namespace

void SetThreadBodyGuard(ThreadBodyGuard guard) noexcept {
  body_guard.store(guard, std::memory_order_release);
}

Result ThreadObject::CallRun(void* thread) noexcept {
  return static_cast<ThreadObject*>(thread)->Run();
}

void ThreadObject::ExecuteWork(ThreadObject& thread) noexcept {
  const ThreadBodyGuard guard = body_guard.load(std::memory_order_acquire);
  const Result result = guard != nullptr ? guard(&CallRun, &thread) : CallRun(&thread);
  thread.result_.store(result, std::memory_order_release);
  // The last touch of the object by its thread: once this is seen, the owner
  // may destroy it.
  thread.running_.store(false, std::memory_order_release);
}

}  // namespace vorn
