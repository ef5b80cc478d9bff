#include <semaphore.h>

#include <cerrno>
#include <new>

#include "work_signal.h"

namespace vornpack {

WorkSignal::WorkSignal() {
  sem_t* semaphore = new (std::nothrow) sem_t;
  if (semaphore != nullptr && sem_init(semaphore, 0, 0) != 0) {
    delete semaphore;
    semaphore = nullptr;
  }
  handle_ = semaphore;
}

WorkSignal::~WorkSignal() {
  if (handle_ == nullptr) return;
  sem_destroy(static_cast<sem_t*>(handle_));
  delete static_cast<sem_t*>(handle_);
}

void WorkSignal::Post() {
  sem_post(static_cast<sem_t*>(handle_));
}

void WorkSignal::Wait() {
  // A signal interrupting the wait is no reason to stop waiting.
  while (sem_wait(static_cast<sem_t*>(handle_)) != 0 && errno == EINTR) {
  }
}

}  // namespace vornpack
