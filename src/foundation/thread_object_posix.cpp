#include <pthread.h>
#include <unistd.h>

#include <climits>

#include "foundation/system_error.h"
#include "foundation/thread_object.h"

namespace vorn {

namespace {
// Far above the Windows workers' 64 KiB: the sanitizers and the C library's
// own frames need room that a Windows thread does not.
constexpr size_t kStackSize = 1024 * 1024;
static_assert(sizeof(pthread_t) <= sizeof(uintptr_t), "pthread_t must fit the thread field");

pthread_t ThreadOf(uintptr_t stored) noexcept {
  pthread_t thread;
  __builtin_memcpy(&thread, &stored, sizeof(thread));
  return thread;
}

uintptr_t Stored(pthread_t thread) noexcept {
  uintptr_t stored = 0;
  __builtin_memcpy(&stored, &thread, sizeof(thread));
  return stored;
}
}  // namespace

struct ThreadRoutine {
  static void* Enter(void* parameter) noexcept {
    if (parameter == nullptr)
      return reinterpret_cast<void*>(static_cast<uintptr_t>(kInvalidArgument));
    ThreadObject& thread = *static_cast<ThreadObject*>(parameter);
    thread.thread_id_.store(static_cast<uint32_t>(gettid()), std::memory_order_release);
    ThreadObject::ExecuteWork(thread);  // the object must not be touched after this
    return nullptr;
  }
};

Result ThreadObject::Start() noexcept {
  // From inside Run the running thread cannot be replaced: it would be lost.
  if (Stop(true) == kInvalidState) return kInvalidState;
  stop_requested_.store(false, std::memory_order_release);
  result_.store(kOk, std::memory_order_release);
  running_.store(true, std::memory_order_release);
  pthread_attr_t attributes;
  int error = pthread_attr_init(&attributes);
  if (error == 0) {
    const size_t minimum = static_cast<size_t>(PTHREAD_STACK_MIN);
    error = pthread_attr_setstacksize(&attributes, kStackSize > minimum ? kStackSize : minimum);
    pthread_t thread;
    if (error == 0) error = pthread_create(&thread, &attributes, &ThreadRoutine::Enter, this);
    pthread_attr_destroy(&attributes);
    if (error == 0) {
      thread_ = Stored(thread);
      joinable_ = true;
      return kOk;
    }
  }
  running_.store(false, std::memory_order_release);
  return ResultFromErrno(error);
}

Result ThreadObject::Stop(bool wait) noexcept {
  stop_requested_.store(true, std::memory_order_release);
  // From inside Run: the request is all a thread can do about itself.
  if (static_cast<uint32_t>(gettid()) == thread_id_.load(std::memory_order_acquire)) {
    return wait ? kInvalidState : kOk;
  }
  if (!joinable_ || !wait) return kOk;
  const pthread_t thread = ThreadOf(thread_);
  const int error = pthread_join(thread, nullptr);
  thread_ = 0;
  thread_id_.store(0, std::memory_order_release);
  joinable_ = false;
  return error == 0 ? kOk : ResultFromErrno(error);
}

}  // namespace vorn
