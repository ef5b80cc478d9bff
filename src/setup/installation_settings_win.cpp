#include <windows.h>

#include "foundation/registry_key.h"
#include "setup/installation_settings.h"

namespace vorn {

void InstallationSettings::ReadExistingInstallation() noexcept {
  RegistryKey key;
  if (key.SetRoot(RegistryKey::kLocalMachine, UninstallKey().Text()) != kOk) return;
  String value;
  if (key.ReadText(u"VornLib.InstallFolder", value) == kOk) install_folder = value;
  if (key.ReadText(u"VornLib.ProgramGroup", value) == kOk) program_group = value;
}

bool RunsOn64BitWindows() noexcept {
  // Looked up by name: the first releases of Windows XP lack it.
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return false;
  auto is_wow64 = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return is_wow64 != nullptr && is_wow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace vorn
