#include <pthread.h>
#include <time.h>

#include <new>

#include "analytics/wake_event.h"
#include "foundation/system_error.h"

namespace vorn {

namespace {

struct EventState {
  pthread_mutex_t mutex;
  pthread_cond_t condition;
  bool signalled;
};

}  // namespace

WakeEvent::WakeEvent() noexcept {
  auto* state = new (std::nothrow) EventState;
  if (state == nullptr) {
    state_ = kOutOfMemory;
    return;
  }
  pthread_condattr_t attributes;
  pthread_condattr_init(&attributes);
  pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
  const int mutex_error = pthread_mutex_init(&state->mutex, nullptr);
  const int condition_error = mutex_error ? 0 : pthread_cond_init(&state->condition, &attributes);
  pthread_condattr_destroy(&attributes);
  if (mutex_error != 0 || condition_error != 0) {
    if (mutex_error == 0) pthread_mutex_destroy(&state->mutex);
    delete state;
    state_ = ResultFromErrno(mutex_error ? mutex_error : condition_error);
    return;
  }
  state->signalled = false;
  handle_ = state;
}

WakeEvent::~WakeEvent() {
  auto* state = static_cast<EventState*>(handle_);
  if (state == nullptr) return;
  pthread_cond_destroy(&state->condition);
  pthread_mutex_destroy(&state->mutex);
  delete state;
}

void WakeEvent::Signal() noexcept {
  auto* state = static_cast<EventState*>(handle_);
  if (state == nullptr) return;
  pthread_mutex_lock(&state->mutex);
  state->signalled = true;
  pthread_cond_signal(&state->condition);
  pthread_mutex_unlock(&state->mutex);
}

bool WakeEvent::Wait(uint32_t milliseconds) noexcept {
  auto* state = static_cast<EventState*>(handle_);
  if (state == nullptr) return false;
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += milliseconds / 1000;
  deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000;
  if (deadline.tv_nsec >= 1000000000) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000;
  }
  pthread_mutex_lock(&state->mutex);
  int error = 0;
  while (!state->signalled && error == 0) {
    error = pthread_cond_timedwait(&state->condition, &state->mutex, &deadline);
  }
  const bool signalled = state->signalled;
  state->signalled = false;  // auto-reset: the wake is used up
  pthread_mutex_unlock(&state->mutex);
  return signalled;
}

}  // namespace vorn
