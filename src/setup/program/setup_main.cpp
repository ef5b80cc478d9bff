// VornSetup.exe: the installer program. It carries no package of its own;
// the package tool writes one into a copy of it (RCDATA 4096), which the
// package file system mounts on first use.
#include <windows.h>

#include "application/program_entry.h"
#include "setup/setup_start.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vorn::ProgramHooks hooks;
  hooks.application_start = &vorn::RunSetupStart;
  hooks.register_modules = &vorn::RegisterSetupModules;
  return vorn::RunProgram(hooks);
}
