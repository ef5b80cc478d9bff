// The thread object: the framework's only way to start a thread. A derived
// class implements Run; Start runs it on a new thread (64 KiB stack on
// Windows, COM initialized multithreaded for the thread), and Run polls
// StopRequested to end early. Start, Stop and destruction belong to the
// thread that owns the object; whoever shares data with Run protects it with
// a lock object.
#pragma once

#include <atomic>
#include <cstdint>

#include "foundation/result.h"

namespace vorn {

// The body of a thread as the guard sees it: call it with its context.
using ThreadBody = Result (*)(void* context);
// A wrapper around every thread body, for the crash reporter: it calls
// body(context) inside its own protection and returns its result.
using ThreadBodyGuard = Result (*)(ThreadBody body, void* context);
// Installs the wrapper for threads started from now on; null runs bodies
// unwrapped (the default).
void SetThreadBodyGuard(ThreadBodyGuard guard) noexcept;

class ThreadObject {
 public:
  ThreadObject() noexcept = default;
  // Stops the thread and waits for it. By then the derived part of the object
  // is gone already, so a derived class whose Run uses its own members calls
  // Stop(true) in its own destructor. (Defined here so that the class has no
  // key function: code built with and without RTTI can both derive from it.)
  virtual ~ThreadObject() { Stop(true); }
  ThreadObject(const ThreadObject&) = delete;
  ThreadObject& operator=(const ThreadObject&) = delete;

  // Stops and waits for a previous thread, clears the stop request and starts
  // Run on a new thread: 0, or the mapped system error when the thread cannot
  // be created (32 when called from inside Run).
  Result Start() noexcept;
  // Sets the stop request; with wait, also waits without a time limit for
  // the thread to end and releases it. A thread cannot wait for itself: from
  // inside Run, Stop(true) only sets the request and gives 32.
  Result Stop(bool wait) noexcept;

  // True from Start until Run has returned.
  bool IsRunning() const noexcept { return running_.load(std::memory_order_acquire); }
  bool StopRequested() const noexcept { return stop_requested_.load(std::memory_order_acquire); }
  // What the last Run returned (0 until it has).
  Result ThreadResult() const noexcept { return result_.load(std::memory_order_acquire); }
  // The system's identifier of the running thread, 0 when there is none.
  uint32_t ThreadId() const noexcept { return thread_id_.load(std::memory_order_acquire); }

 protected:
  // The work; runs on the new thread.
  virtual Result Run() noexcept = 0;

 private:
  // Where the platform routine runs the work: through the body guard when
  // one is installed. Records the result and clears the running flag.
  static void ExecuteWork(ThreadObject& thread) noexcept;
  static Result CallRun(void* thread) noexcept;
  friend struct ThreadRoutine;

  uintptr_t thread_ = 0;  // the thread handle (Windows) or pthread_t (POSIX)
  bool joinable_ = false;
  std::atomic<uint32_t> thread_id_{0};
  std::atomic<Result> result_{kOk};
  std::atomic<bool> stop_requested_{false};
  std::atomic<bool> running_{false};
};

}  // namespace vorn
