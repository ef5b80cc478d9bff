#include <windows.h>

#include "setup/setup_action.h"

namespace vorn {

bool PostSetupAction(void* window_handle, SetupAction action) noexcept {
  if (window_handle == nullptr) return false;
  return PostMessageW(static_cast<HWND>(window_handle), kSetupActionMessage,
                      static_cast<WPARAM>(action), 0) != FALSE;
}

}  // namespace vorn
