// Crash reporting: a processor exception that nothing handled, on the main
// run or on a framework thread, is written to a minidump in the temporary
// folder, the user is told where it is and whom to send it to, and the
// process ends with the exception code as its exit status.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "foundation/thread_object.h"

namespace vorn {

class CrashHandler {
 public:
  // Filter verdicts, as the system's exception dispatch reads them.
  static constexpr int32_t kContinueSearch = 0;
  static constexpr int32_t kExecuteHandler = 1;

  // The debugging help library loaded at start-up (null when it is missing,
  // and again once it has been freed).
  static void SetDebugHelpModule(void* module) noexcept;
  static void* DebugHelpModule() noexcept;

  // The owner of the report box: the main window's system window handle
  // while it exists (kept by the application core, which is told when it is
  // created and destroyed), else null. The report only asks the system
  // whether that handle is still a visible window: it never calls into
  // application objects, which may be what crashed.
  static void SetOwnerWindow(void* handle) noexcept;
  static void* OwnerWindow() noexcept;

  // How long a thread that faults while another thread's report is in
  // progress waits for that report before it ends the process itself.
  static constexpr uint32_t kOtherThreadWaitMilliseconds = 20000;

  // The exception a terminate of the C++ runtime is raised as (a pure
  // virtual call, an allocation the runtime gives up on): our code has no
  // exceptions, so a terminate is a fatal fault, reported like any crash.
  static constexpr uint32_t kTerminateCode = 0xE0564F54;
  // Raises kTerminateCode as a non-continuable exception, which the guarded
  // region around the run reports (outside one the system ends the process
  // with that code); never returns. On Windows it also replaces the C++
  // runtime's terminate handler. On POSIX it aborts.
  [[noreturn]] static void RaiseTerminate() noexcept;

  // Reports the crash described by the exception pointers (an
  // EXCEPTION_POINTERS on Windows) and answers kExecuteHandler; without
  // pointers it leaves the exception to the system (kContinueSearch).
  // One report per process: a fault on the reporting thread while it
  // reports ends the process at once, and a fault on another thread ends it
  // after at most kOtherThreadWaitMilliseconds; both with the exception
  // code of the crash being reported.
  static int32_t Filter(uint32_t exception_code, void* exception_pointers) noexcept;

  // Runs body(context) as a guarded region: an exception that reaches it is
  // reported and ends the process. Its signature is the thread object's
  // body guard.
  static Result RunGuarded(ThreadBody body, void* context) noexcept;

  // The dump file: the temporary folder + "VornLib-CrashReport.dmp".
  static String DumpPath() noexcept;
  // The message shown after a crash: with a dump path, where the dump is;
  // without (no debugging help library), how to get a detailed report.
  static String ReportText(uint32_t exception_code, const char16_t* dump_path) noexcept;
  // The support address named in both messages (a build setting).
  static const char16_t* SupportAddress() noexcept;
};

}  // namespace vorn
