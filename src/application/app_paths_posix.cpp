#include "application/app_paths.h"

namespace vorn {

// The shell's App Paths exist on Windows only.
Result RegisterAppPaths(const String&) noexcept {
  return kNotSupported;
}
Result UnregisterAppPaths(const String&) noexcept {
  return kNotSupported;
}

}  // namespace vorn
