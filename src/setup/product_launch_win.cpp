#include "foundation/shell_run.h"
#include "setup/installation_settings.h"
#include "setup/product_launch.h"

namespace vorn {

Result StartProduct() noexcept {
  const String product = InstallationSettings::Get().ProductExecutable();
  return ShellRun(product.Text(), nullptr, false, u"open");
}

Result RelaunchElevated(const String& program, void* owner, uint32_t& exit_code) noexcept {
  exit_code = 0;
  SetShellRunOwnerWindow(owner);
  return ShellRunForExitCode(program.Text(), kElevatedChildParameters, true,
                             IsElevated() ? u"open" : u"runas", exit_code);
}

}  // namespace vorn
