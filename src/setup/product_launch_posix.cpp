// No shell to start programs through: the installer's roles that need one
// exist on Windows only.
#include "setup/product_launch.h"

namespace vorn {

Result StartProduct() noexcept {
  return kNotSupported;
}

Result RelaunchElevated(const String&, void*, uint32_t& exit_code) noexcept {
  exit_code = 0;
  return kNotSupported;
}

}  // namespace vorn
