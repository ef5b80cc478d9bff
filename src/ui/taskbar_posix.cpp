#include "ui/taskbar.h"

namespace vorn {

uint32_t TaskbarButtonCreatedMessage() noexcept {
  return 0;
}

Taskbar& Taskbar::Get() noexcept {
  static Taskbar taskbar;
  return taskbar;
}

void Taskbar::Recreate() noexcept {}
void Taskbar::Release() noexcept {}

Result Taskbar::SetState(void* window, State state) noexcept {
  return kNotOpen;
}

Result Taskbar::SetProgress(void* window, uint64_t completed, uint64_t total) noexcept {
  return kNotOpen;
}

}  // namespace vorn
