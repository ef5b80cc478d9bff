#include "setup/file_transfer_page.h"

namespace vorn {

// No windows here: nothing receives a message.
bool PostPageMessage(void*, uint32_t) noexcept {
  return false;
}

void* TopLevelWindowOf(void* window_handle) noexcept {
  return window_handle;
}

}  // namespace vorn
