// The program entry of every program built on the framework. The program's
// own wWinMain (or main) hands over to RunProgram with its two hooks.
#pragma once

#include <cstdint>

namespace vorn {

struct ProgramHooks {
  // The application's own start-up (resources, description, switches); it
  // may request quit already.
  void (*application_start)() = nullptr;
  // Registers the application's modules after the platform module.
  void (*register_modules)() = nullptr;
};

// The whole life of the program, in order: the processor check (exit code
// 2 without SSE2), the debugging help library and the crash guard, the
// platform module and the application core, the hooks, the run and the
// clean-up. Gives the exit code.
int32_t RunProgram(const ProgramHooks& hooks) noexcept;

// The part between the processor check and the clean-up, guarded by the
// crash handler: platform module, core, hooks, module registration, run.
int32_t RunApplication(const ProgramHooks& hooks) noexcept;
// RunApplication inside the crash guard, with the guard also installed
// around the body of every framework thread started from then on.
int32_t RunGuardedApplication(const ProgramHooks& hooks) noexcept;

}  // namespace vorn
