#include <windows.h>

#include "foundation/registry_key.h"
#include "foundation/shell_run.h"
#include "setup/file_transfer.h"
#include "setup/installation_settings.h"

namespace vorn {

void RemovePreviousInstallation(const InstallationSettings& settings) noexcept {
  RegistryKey key;
  if (key.SetRoot(RegistryKey::kLocalMachine, settings.UninstallKey().Text()) != kOk) return;
  String program;
  if (key.ReadText(u"VornLib.UninstallProgram", program) != kOk || program.IsEmpty()) return;
  key.Close();
  // The old product removes itself quietly and keeps what an update keeps;
  // how it ends does not matter, what it leaves is cleaned up below.
  ShellRunElevated(program.Text(), u"/Quiet /Update");
  RemoveProgramAndData(program, settings.InstallFolderPath());
}

void YieldToOtherThreads() noexcept {
  // With no other thread ready the yield returns at once; a short sleep
  // then keeps the wait from spinning a processor.
  if (!SwitchToThread()) Sleep(1);
}

}  // namespace vorn
