// The taskbar integration: the registered "TaskbarButtonCreated" message
// and the application's taskbar list, through which progress is shown on
// the main window's taskbar button (Windows 7 and later).
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

// The message number, registered with the platform on first use (0 where
// there is none).
uint32_t TaskbarButtonCreatedMessage() noexcept;

class Taskbar {
 public:
  enum State : uint32_t {
    kNoProgress = 0,
    kIndeterminate = 1,
    kNormal = 2,
    kError = 4,
    kPaused = 8
  };

  static Taskbar& Get() noexcept;
  // Releases the taskbar list and makes it again (the button was created
  // anew); a failure leaves none.
  void Recreate() noexcept;
  bool Available() const noexcept { return list_ != nullptr; }
  // 4 without a taskbar list.
  Result SetState(void* window, State state) noexcept;
  Result SetProgress(void* window, uint64_t completed, uint64_t total) noexcept;
  void Release() noexcept;

 private:
  Taskbar() noexcept = default;
  void* list_ = nullptr;
};

}  // namespace vorn
