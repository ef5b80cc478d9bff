// An auto-reset event: Signal wakes one waiter (or the next one to wait),
// and the wake is used up by that waiter.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

class WakeEvent {
 public:
  WakeEvent() noexcept;
  ~WakeEvent();
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;

  // 0 when the event exists, else the mapped system error of its creation.
  Result State() const noexcept { return state_; }
  void Signal() noexcept;
  // True when signalled, false when the time ran out (or there is no event).
  bool Wait(uint32_t milliseconds) noexcept;

 private:
  Result state_ = kOk;
  void* handle_ = nullptr;  // the event (Windows) or the condition's state (POSIX)
};

}  // namespace vorn
