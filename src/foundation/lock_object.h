// Lock object: a critical section, or a named mutex "Local\" + name that
// records whether it existed already (the single-instance rule reads that).
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

  // Turns this object into the named lock "Local\" + name.
  Result CreateNamed(const char16_t* name) noexcept;
  bool AlreadyExisted() const noexcept { return already_existed_; }
  bool IsNamed() const noexcept { return mutex_ != nullptr; }

  void Lock() noexcept;
  void Unlock() noexcept;

 private:
  void* mutex_ = nullptr;  // the named mutex handle, or null
  bool already_existed_ = false;
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
