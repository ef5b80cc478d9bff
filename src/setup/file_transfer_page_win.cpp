#include <windows.h>

#include "setup/file_transfer_page.h"

namespace vorn {

bool PostPageMessage(void* window_handle, uint32_t message) noexcept {
  if (window_handle == nullptr) return false;
  return PostMessageW(static_cast<HWND>(window_handle), message, 0, 0) != FALSE;
}

void* TopLevelWindowOf(void* window_handle) noexcept {
  if (window_handle == nullptr) return nullptr;
  return GetAncestor(static_cast<HWND>(window_handle), GA_ROOT);
}

}  // namespace vorn
