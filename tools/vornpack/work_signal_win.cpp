#include <windows.h>

#include "work_signal.h"

namespace vornpack {

WorkSignal::WorkSignal() {
  handle_ = CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr);
}

WorkSignal::~WorkSignal() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

void WorkSignal::Post() {
  ReleaseSemaphore(handle_, 1, nullptr);
}

void WorkSignal::Wait() {
  WaitForSingleObject(handle_, INFINITE);
}

}  // namespace vornpack
