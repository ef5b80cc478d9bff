#include "setup/system_registration.h"

#include "foundation/format.h"

namespace vorn {

String InstallDateText(uint32_t year, uint32_t month, uint32_t day) noexcept {
  return Format(u"{0,04}{1,02}{2,02}", FormatArg(year), FormatArg(month), FormatArg(day));
}

Result RegisterInstallation(InstallationSettings& settings) noexcept {
  Result result = WriteUninstallEntry(settings);
  if (result != kOk) return result;
  result = CreateProgramGroupShortcuts(settings);
  if (result != kOk) return result;
  CreateOptionalShortcuts(settings);
  WriteShortcutList(settings);
  return kOk;
}

}  // namespace vorn
