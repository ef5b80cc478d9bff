#include "application/application_core.h"
#include "application/program_entry.h"
#include "application/usage_reporter.h"

namespace vorn {

int32_t RunProgram(const ProgramHooks& hooks) noexcept {
  const int32_t exit_code = RunGuardedApplication(hooks);
  if (UsageReporter* reporter = ApplicationCore::Get().Reporter()) {
    ApplicationCore::Get().SetReporter(nullptr);
    reporter->EndOfProgram();
  }
  return exit_code;
}

}  // namespace vorn
