
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
#include "foundation/system_library.h"

namespace vorn {

int32_t RunProgram(const ProgramHooks& hooks) noexcept {
  // Before anything loads a library (even the processor check's message
  // box pulls in theme libraries).
  RestrictLibrarySearch();
  if (!CheckProcessor()) return 2;
  // From the system folder only: a copy next to a downloaded installer
  // would otherwise run with its rights. Without it crashes are still
  // reported, only without a dump.
  void* debug_help = LoadSystemLibrary(u"dbghelp.dll");
  CrashHandler::SetDebugHelpModule(debug_help);
  const int32_t exit_code = RunGuardedApplication(hooks);
  CrashHandler::SetDebugHelpModule(nullptr);
  FreeSystemLibrary(debug_help);
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
