#include <windows.h>

#include <new>

#include "foundation/lock_object.h"
#include "foundation/string.h"
#include "foundation/system_error.h"

namespace vorn {
namespace {

static_assert(sizeof(CRITICAL_SECTION) <= 64, "the critical section must fit the lock object");

CRITICAL_SECTION* Section(unsigned char* storage) noexcept {
  return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}

}  // namespace

LockObject::LockObject() noexcept {
  // Unlike InitializeCriticalSection, this one reports a failure (low memory
  // on XP) instead of raising an exception.
  is_section_ = InitializeCriticalSectionAndSpinCount(new (section_) CRITICAL_SECTION, 0) != 0;
  if (!is_section_) {
    // An unnamed mutex does the same work, only slower.
    mutex_ = CreateMutexW(nullptr, FALSE, nullptr);
  }
}

LockObject::~LockObject() {
  if (mutex_ != nullptr) CloseHandle(static_cast<HANDLE>(mutex_));
  if (is_section_) DeleteCriticalSection(Section(section_));
}

Result LockObject::CreateNamed(const char16_t* name) noexcept {
  if (name == nullptr || *name == 0) return kInvalidName;
  const String full = u"Local\\" + String(name);
  if (full.IsEmpty()) return kOutOfMemory;
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(full.Text()));
  if (mutex == nullptr) return LastSystemResult();
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (mutex_ != nullptr) CloseHandle(static_cast<HANDLE>(mutex_));
  mutex_ = mutex;
  named_ = true;
  already_existed_ = existed;
  return kOk;
}

void LockObject::Lock() noexcept {
  if (mutex_ != nullptr) {
    // An abandoned mutex is still ours now: its previous owner ended.
    WaitForSingleObject(static_cast<HANDLE>(mutex_), INFINITE);
  } else if (is_section_) {
    EnterCriticalSection(Section(section_));
  }
}

void LockObject::Unlock() noexcept {
  if (mutex_ != nullptr) {
    ReleaseMutex(static_cast<HANDLE>(mutex_));
  } else if (is_section_) {
    LeaveCriticalSection(Section(section_));
  }
}

}  // namespace vorn
