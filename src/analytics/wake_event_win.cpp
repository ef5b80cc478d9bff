#include <windows.h>

#include "analytics/wake_event.h"
#include "foundation/system_error.h"

namespace vorn {

WakeEvent::WakeEvent() noexcept {
  handle_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (handle_ == nullptr) state_ = LastSystemResult();
}

WakeEvent::~WakeEvent() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

void WakeEvent::Signal() noexcept {
  if (handle_ != nullptr) SetEvent(handle_);
}

bool WakeEvent::Wait(uint32_t milliseconds) noexcept {
  if (handle_ == nullptr) return false;
  return WaitForSingleObject(handle_, milliseconds) == WAIT_OBJECT_0;
}

}  // namespace vorn
