// The parts of the C++ runtime that our programs call, defined here instead
// of taken from the runtime library. The library's versions throw
// (std::bad_alloc from operator new, recursive_init_error from the guard of
// a function-local static) or call std::terminate, and so bring the whole
// exception machinery into programs that have no exceptions: the unwinder,
// the personality routine and their tables, some 45 KB of the installer.
// These end the process as a crash instead (CrashHandler::RaiseTerminate),
// which is what an exception nobody catches would have done.
//
// The link takes the object before it reaches the runtime library (our code
// calls these functions), so the library's own objects for them are never
// linked: no symbol is defined twice.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "application/crash_handler.h"

namespace {

// One lock for every guarded initialisation, held while the initialisation
// runs, as the runtime library of our 32-bit compiler does it too.
// Recursive: an initialisation may start another one on the same thread.
// Made on first use without a guard of its own (that would recurse).
CRITICAL_SECTION guard_lock;
volatile LONG guard_lock_state = 0;  // 0 none, 1 being made, 2 ready

void EnterGuardLock() noexcept {
  if (InterlockedCompareExchange(&guard_lock_state, 1, 0) == 0) {
    InitializeCriticalSection(&guard_lock);
    InterlockedExchange(&guard_lock_state, 2);
  } else {
    while (InterlockedCompareExchange(&guard_lock_state, 2, 2) != 2) Sleep(0);
  }
  EnterCriticalSection(&guard_lock);
}

// The guard's first byte says "initialised" (the compiler tests it inline
// before calling here); the second, "being initialised".
volatile uint8_t* GuardBytes(int64_t* guard) noexcept {
  return reinterpret_cast<volatile uint8_t*>(guard);
}

void* Allocate(std::size_t size) noexcept {
  return std::malloc(size != 0 ? size : 1);
}

}  // namespace

extern "C" int __cxa_guard_acquire(int64_t* guard) {
  volatile uint8_t* bytes = GuardBytes(guard);
  if (__atomic_load_n(&bytes[0], __ATOMIC_ACQUIRE) != 0) return 0;
  EnterGuardLock();
  if (bytes[0] != 0) {
    LeaveCriticalSection(&guard_lock);
    return 0;
  }
  // The same static again while its initialisation runs on this thread
  // (other threads wait at the lock): the initialisation recursed into
  // itself, which cannot finish.
  if (bytes[1] != 0) vorn::CrashHandler::RaiseTerminate();
  bytes[1] = 1;
  return 1;  // the lock stays held until release or abort
}

extern "C" void __cxa_guard_release(int64_t* guard) {
  volatile uint8_t* bytes = GuardBytes(guard);
  bytes[1] = 0;
  __atomic_store_n(&bytes[0], 1, __ATOMIC_RELEASE);
  LeaveCriticalSection(&guard_lock);
}

extern "C" void __cxa_guard_abort(int64_t* guard) {
  GuardBytes(guard)[1] = 0;
  LeaveCriticalSection(&guard_lock);
}

// A call through a vtable slot whose function is pure or deleted: an object
// used during its construction or destruction, or a dangling one.
extern "C" void __cxa_pure_virtual() {
  vorn::CrashHandler::RaiseTerminate();
}

extern "C" void __cxa_deleted_virtual() {
  vorn::CrashHandler::RaiseTerminate();
}

// Our code allocates with new (std::nothrow) and handles failure; the
// throwing forms (the runtime library's own calls) cannot throw here, so
// running out of memory in them is fatal. operator delete stays the
// library's, which frees what these allocate.
void* operator new(std::size_t size) {
  if (void* memory = Allocate(size)) return memory;
  vorn::CrashHandler::RaiseTerminate();
}

void* operator new[](std::size_t size) {
  if (void* memory = Allocate(size)) return memory;
  vorn::CrashHandler::RaiseTerminate();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
