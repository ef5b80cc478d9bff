#include "application/uninstallation.h"

namespace vorn {

// Installations, their registry entry and the batch file exist on Windows.
Result Uninstall(bool) noexcept {
  return kNotSupported;
}

Result WriteUninstallBatch(const String&, const String&, const String&,
                           String& batch_path) noexcept {
  batch_path = String();
  return kNotSupported;
}

}  // namespace vorn
