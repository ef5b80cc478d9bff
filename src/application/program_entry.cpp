#include "application/program_entry.h"

#include "application/application_core.h"
#include "application/crash_handler.h"
#include "application/platform_module.h"

namespace vorn {

namespace {

struct RunContext {
  const ProgramHooks* hooks;
  int32_t exit_code;
};

Result RunApplicationBody(void* context) noexcept {
  auto* run = static_cast<RunContext*>(context);
  run->exit_code = RunApplication(*run->hooks);
  return kOk;
}

}  // namespace

int32_t RunApplication(const ProgramHooks& hooks) noexcept {
  PlatformModule& platform = PlatformModule::Get();
  ApplicationCore& core = ApplicationCore::Get();
  core.SetProgramPath(platform.ProgramPath());
  if (hooks.application_start != nullptr) hooks.application_start();
  core.RegisterModule(platform);
  if (hooks.register_modules != nullptr) hooks.register_modules();
  return core.Run();
}

// Shared by both platforms: the run, guarded, between loading and freeing
// the debugging help library.
int32_t RunGuardedApplication(const ProgramHooks& hooks) noexcept {
  SetThreadBodyGuard(&CrashHandler::RunGuarded);
  RunContext context{&hooks, 0};
  CrashHandler::RunGuarded(&RunApplicationBody, &context);
  return context.exit_code;
}

}  // namespace vorn
