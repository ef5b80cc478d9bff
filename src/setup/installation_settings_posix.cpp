#include "setup/installation_settings.h"

namespace vorn {

// Installations are recorded in the Windows registry only.
void InstallationSettings::ReadExistingInstallation() noexcept {}

bool RunsOn64BitWindows() noexcept {
  return false;
}

}  // namespace vorn
