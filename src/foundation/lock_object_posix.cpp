#include <pthread.h>

#include <new>

#include "foundation/lock_object.h"

namespace vorn {
namespace {

static_assert(sizeof(pthread_mutex_t) <= 64, "the mutex must fit the lock object's storage");

pthread_mutex_t* Mutex(unsigned char* storage) noexcept {
  return std::launder(reinterpret_cast<pthread_mutex_t*>(storage));
}

}  // namespace

LockObject::LockObject() noexcept {
  // Recursive like a Windows critical section, so that code written for one
  // platform behaves alike on the other.
  pthread_mutexattr_t attributes;
  bool initialized = false;
  if (pthread_mutexattr_init(&attributes) == 0) {
    initialized = pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0 &&
                  pthread_mutex_init(new (section_) pthread_mutex_t, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
  }
  if (!initialized) {
    // The static initializer cannot fail; it only lacks the recursion.
    new (section_) pthread_mutex_t(PTHREAD_MUTEX_INITIALIZER);
  }
  is_section_ = true;
}

LockObject::~LockObject() {
  if (is_section_) pthread_mutex_destroy(Mutex(section_));
}

Result LockObject::CreateNamed(const char16_t* name) noexcept {
  if (name == nullptr || *name == 0) return kInvalidName;
  return kNotSupported;  // no session-wide named mutexes here
}

void LockObject::Lock() noexcept {
  pthread_mutex_lock(Mutex(section_));
}

void LockObject::Unlock() noexcept {
  pthread_mutex_unlock(Mutex(section_));
}

}  // namespace vorn
