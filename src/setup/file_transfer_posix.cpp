#include <sched.h>

#include "setup/file_transfer.h"

namespace vorn {

// Installations are recorded in the Windows registry only: there is never
// a previous one to remove here.
void RemovePreviousInstallation(const InstallationSettings&) noexcept {}

void YieldToOtherThreads() noexcept {
  sched_yield();
}

}  // namespace vorn
