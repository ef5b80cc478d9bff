
// The Windows headers depend on their order.
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "application/application_core.h"
#include "application/crash_handler.h"
#include "application/processor_check.h"
#include "application/program_entry.h"
#include "application/usage_reporter.h"

namespace vorn {

int32_t RunProgram(const ProgramHooks& hooks) noexcept {
  if (!CheckProcessor()) return 2;
  // Found by the ordinary search order; without it crashes are still
  // reported, only without a dump.
  HMODULE debug_help = LoadLibraryA("DbgHelp.dll");
  CrashHandler::SetDebugHelpModule(debug_help);
  const int32_t exit_code = RunGuardedApplication(hooks);
  CrashHandler::SetDebugHelpModule(nullptr);
  if (debug_help != nullptr) FreeLibrary(debug_help);
  // The analytics send their end hit and let go of the network session.
  if (UsageReporter* reporter = ApplicationCore::Get().Reporter()) {
    ApplicationCore::Get().SetReporter(nullptr);
    reporter->EndOfProgram();
  }
  // The sockets library was started by the HTTP service, if at all; a
  // failure here means nobody had started it.
  WSACleanup();
  return exit_code;
}

}  // namespace vorn
