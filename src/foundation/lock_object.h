// Lock object: a critical section, or a named mutex "Local\" + name that
// records whether it existed already (the single-instance rule reads that).
// Both kinds may be entered again by the thread that holds them.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

class LockObject {
 public:
  LockObject() noexcept;  // a plain (critical section) lock
  ~LockObject();
  LockObject(const LockObject&) = delete;
  LockObject& operator=(const LockObject&) = delete;

  // Turns this object into the named lock "Local\" + name: 38 for a null or
  // empty name, the mapped system error when the mutex cannot be created (the
  // object then stays a plain lock), 2 where the platform has no named locks.
  // Must not be called while the lock is held.
  Result CreateNamed(const char16_t* name) noexcept;
  bool AlreadyExisted() const noexcept { return already_existed_; }
  bool IsNamed() const noexcept { return named_; }

  // Waits without a time limit.
  void Lock() noexcept;
  void Unlock() noexcept;

 private:
  // The mutex handle (named, or standing in for the section); Windows only.
  [[maybe_unused]] void* mutex_ = nullptr;
  bool already_existed_ = false;
  bool named_ = false;
  // Whether section_ holds an initialized critical section (or mutex).
  bool is_section_ = false;
  alignas(8) unsigned char section_[64];  // the platform's critical section
};

// Holds a lock for a scope.
class LockGuard {
 public:
  explicit LockGuard(LockObject& lock) noexcept : lock_(lock) { lock_.Lock(); }
  ~LockGuard() { lock_.Unlock(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  LockObject& lock_;
};

}  // namespace vorn
