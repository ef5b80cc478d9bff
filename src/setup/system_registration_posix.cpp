#include "setup/system_registration.h"

namespace vorn {

// The uninstall entry and shell links exist on Windows only.
Result WriteUninstallEntry(InstallationSettings&) noexcept {
  return kNotSupported;
}
Result CreateProgramGroupShortcuts(InstallationSettings&) noexcept {
  return kNotSupported;
}
Result CreateOptionalShortcuts(InstallationSettings&) noexcept {
  return kOk;
}
Result WriteShortcutList(InstallationSettings&) noexcept {
  return kOk;
}
Result CreateShortcut(InstallationSettings&, const String&, const String&, const String&,
                      const char16_t*) noexcept {
  return kNotSupported;
}

}  // namespace vorn
