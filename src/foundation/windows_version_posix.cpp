#include "foundation/windows_version.h"

namespace vorn {

// Not Windows: portable code that asks gets the newest number, which turns
// off every workaround for older systems.
uint32_t WindowsVersion() noexcept {
  return kWindows10;
}

}  // namespace vorn
