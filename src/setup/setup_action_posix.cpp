#include "setup/setup_action.h"

namespace vorn {

// No windows here: nothing receives the action.
bool PostSetupAction(void*, SetupAction) noexcept {
  return false;
}

}  // namespace vorn
