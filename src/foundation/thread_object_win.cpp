#include <windows.h>
// The shell and COM headers need windows.h first.
#include <objbase.h>

#include "foundation/system_error.h"
#include "foundation/thread_object.h"

namespace vorn {

namespace {
// Workers do little and many may exist; the reserve stays the program's.
constexpr SIZE_T kStackSize = 64 * 1024;
}  // namespace

struct ThreadRoutine {
  static DWORD WINAPI Enter(void* parameter) noexcept {
    if (parameter == nullptr) return kInvalidArgument;
    ThreadObject& thread = *static_cast<ThreadObject*>(parameter);
    // Shell links, the taskbar and WinHTTP want COM on the worker too.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ThreadObject::ExecuteWork(thread);  // the object must not be touched after this
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
  }
};

Result ThreadObject::Start() noexcept {
  // From inside Run the running thread cannot be replaced: it would be lost.
  if (Stop(true) == kInvalidState) return kInvalidState;
  stop_requested_.store(false, std::memory_order_release);
  result_.store(kOk, std::memory_order_release);
  running_.store(true, std::memory_order_release);
  DWORD id = 0;
  const HANDLE handle =
      CreateThread(nullptr, kStackSize, &ThreadRoutine::Enter, this, CREATE_SUSPENDED, &id);
  if (handle == nullptr) {
    running_.store(false, std::memory_order_release);
    return LastSystemResult();
  }
  // Recorded while the thread is still suspended, so that Run already finds
  // its own identifier.
  thread_ = reinterpret_cast<uintptr_t>(handle);
  thread_id_.store(id, std::memory_order_release);
  joinable_ = true;
  if (ResumeThread(handle) == static_cast<DWORD>(-1)) {
    // It never ran a single instruction of ours, so it can be ended safely.
    const Result result = LastSystemResult();
    TerminateThread(handle, result);
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
    thread_ = 0;
    thread_id_.store(0, std::memory_order_release);
    joinable_ = false;
    running_.store(false, std::memory_order_release);
    return result;
  }
  return kOk;
}

Result ThreadObject::Stop(bool wait) noexcept {
  stop_requested_.store(true, std::memory_order_release);
  // From inside Run: the request is all a thread can do about itself.
  if (GetCurrentThreadId() == thread_id_.load(std::memory_order_acquire)) {
    return wait ? kInvalidState : kOk;
  }
  if (!joinable_) return kOk;
  const HANDLE handle = reinterpret_cast<HANDLE>(thread_);
  // A thread that was left suspended would never see the request.
  ResumeThread(handle);
  if (!wait) return kOk;
  ResumeThread(handle);
  Result result = kOk;
  if (WaitForSingleObject(handle, INFINITE) == WAIT_FAILED) result = LastSystemResult();
  CloseHandle(handle);
  thread_ = 0;
  thread_id_.store(0, std::memory_order_release);
  joinable_ = false;
  return result;
}

}  // namespace vorn
