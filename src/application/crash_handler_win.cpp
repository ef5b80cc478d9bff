
// The Windows headers depend on their order.
// clang-format off
#include <windows.h>
#include <dbghelp.h>
// clang-format on

#include <cstdlib>
#include <cwchar>
#include <exception>

#include "application/crash_handler.h"
#include "foundation/zero_filled.h"

namespace vorn {

namespace {

constexpr DWORD kDumpType = MiniDumpWithHandleData | MiniDumpFilterMemory | MiniDumpScanMemory |
                            MiniDumpWithUnloadedModules | MiniDumpWithIndirectlyReferencedMemory |
                            MiniDumpWithProcessThreadData | MiniDumpWithFullMemoryInfo |
                            MiniDumpWithThreadInfo | MiniDumpWithFullAuxiliaryState |
                            MiniDumpIgnoreInaccessibleMemory | MiniDumpWithTokenInformation;
static_assert(kDumpType == 0x6997C);

constexpr uint32_t kPathCapacity = 516;
constexpr uint32_t kMessageCapacity = 4096;
constexpr wchar_t kCaption[] = L"VornLib - Crash Report";
constexpr wchar_t kDumpFileName[] = L"VornLib-CrashReport.dmp";

constexpr wchar_t kDumpWrittenText[] =
    L"This application has encountered a critical error.\n\nException: 0x%08X\n\nPlease email "
    L"the log file saved as [%ls] to the technical support team at [%ls]\n\nProvide as much "
    L"detail as possible about your system and how to reproduce the bug. Your feedback is "
    L"highly appreciated and will help us to fix the issue as quickly as possible.";
constexpr wchar_t kNoDebugHelpText[] =
    L"This application has encountered a critical error.\n\nException: 0x%08X\n\nPlease "
    L"download and install a recent version of [DbgHelp.dll] in its default folder or in the "
    L"same folder as this application. Then re-launch the application to get a more detailed "
    L"crash report to email us at [%ls].";

using MiniDumpWriteDumpFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                                PMINIDUMP_EXCEPTION_INFORMATION,
                                                PMINIDUMP_USER_STREAM_INFORMATION,
                                                PMINIDUMP_CALLBACK_INFORMATION);

// Everything here runs on a crashed thread: no allocation, only fixed
// buffers and direct system calls.
void AppendBounded(wchar_t* buffer, uint32_t capacity, const wchar_t* text) noexcept {
  uint32_t length = static_cast<uint32_t>(wcslen(buffer));
  while (*text != 0 && length + 1 < capacity) buffer[length++] = *text++;
  buffer[length] = 0;
}

void BuildDumpPath(wchar_t (&path)[kPathCapacity]) noexcept {
  const DWORD length = GetTempPathW(kPathCapacity, path);
  if (length == 0 || length >= kPathCapacity) {
    path[0] = L'.';
    path[1] = L'\\';
    path[2] = 0;
  }
  AppendBounded(path, kPathCapacity, kDumpFileName);
}

MiniDumpWriteDumpFunction FindDumpWriter() noexcept {
  HMODULE module = static_cast<HMODULE>(CrashHandler::DebugHelpModule());
  if (module == nullptr) return nullptr;
  return reinterpret_cast<MiniDumpWriteDumpFunction>(
      reinterpret_cast<void*>(GetProcAddress(module, "MiniDumpWriteDump")));
}

// Only the system is asked: the handle may belong to a window that has
// gone, and then it is no window at all.
HWND ReportOwner() noexcept {
  HWND handle = static_cast<HWND>(CrashHandler::OwnerWindow());
  if (handle == nullptr || !IsWindow(handle) || !IsWindowVisible(handle)) return nullptr;
  return handle;
}

// A dump that cannot be written does not stop the report.
void WriteDump(MiniDumpWriteDumpFunction write_dump, const wchar_t* path,
               EXCEPTION_POINTERS* pointers) noexcept {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  MINIDUMP_EXCEPTION_INFORMATION exception{};
  exception.ThreadId = GetCurrentThreadId();
  exception.ExceptionPointers = pointers;
  exception.ClientPointers = FALSE;
  write_dump(GetCurrentProcess(), GetCurrentProcessId(), file,
             static_cast<MINIDUMP_TYPE>(kDumpType), &exception, nullptr, nullptr);
  CloseHandle(file);
}

void FormatReport(wchar_t (&message)[kMessageCapacity], uint32_t code,
                  const wchar_t* dump_path) noexcept {
  const wchar_t* support = reinterpret_cast<const wchar_t*>(CrashHandler::SupportAddress());
  if (dump_path != nullptr) {
    _snwprintf(message, kMessageCapacity - 1, kDumpWrittenText, code, dump_path, support);
  } else {
    _snwprintf(message, kMessageCapacity - 1, kNoDebugHelpText, code, support);
  }
  message[kMessageCapacity - 1] = 0;
}

// Ends at once: clean-up code would run beside the crashed thread, and a
// thread waiting for the crashed one would never return.
[[noreturn]] void EndProcess(uint32_t code) noexcept {
  TerminateProcess(GetCurrentProcess(), code);
  ExitProcess(code);
}

}  // namespace

String CrashHandler::DumpPath() noexcept {
  wchar_t path[kPathCapacity];
  BuildDumpPath(path);
  return String(reinterpret_cast<const char16_t*>(path));
}

String CrashHandler::ReportText(uint32_t exception_code, const char16_t* dump_path) noexcept {
  wchar_t message[kMessageCapacity];
  FormatReport(message, exception_code, reinterpret_cast<const wchar_t*>(dump_path));
  return String(reinterpret_cast<const char16_t*>(message));
}

namespace {

// The thread that is reporting (0 while none is) and the code it reports.
volatile LONG reporting_thread = 0;
volatile LONG reported_code = 0;

// While a report is in progress, a fault that no guarded region sees (the
// system may pass over the handler that is running when a second exception
// arrives inside it, and threads of others have no guard) still ends the
// process with the first code; on another thread after the same wait.
LONG WINAPI EndWithReportedCode(EXCEPTION_POINTERS*) {
  if (static_cast<LONG>(GetCurrentThreadId()) != reporting_thread) {
    Sleep(CrashHandler::kOtherThreadWaitMilliseconds);
  }
  EndProcess(static_cast<uint32_t>(reported_code));
}

}  // namespace

int32_t CrashHandler::Filter(uint32_t exception_code, void* exception_pointers) noexcept {
  if (exception_pointers == nullptr) return kContinueSearch;
  auto* pointers = static_cast<EXCEPTION_POINTERS*>(exception_pointers);
  const LONG self = static_cast<LONG>(GetCurrentThreadId());
  const LONG reporter = InterlockedCompareExchange(&reporting_thread, self, 0);
  if (reporter == self) {
    // The report itself faulted: there is nothing left to try.
    EndProcess(static_cast<uint32_t>(reported_code));
  }
  if (reporter != 0) {
    // Another thread is reporting; its report ends the process. Should it
    // never finish (it may wait for a lock this thread holds), the process
    // still ends, so that a parent waiting for it is not kept forever.
    Sleep(kOtherThreadWaitMilliseconds);
    EndProcess(static_cast<uint32_t>(reported_code));
  }
  InterlockedExchange(&reported_code, static_cast<LONG>(exception_code));
  SetUnhandledExceptionFilter(&EndWithReportedCode);
  const MiniDumpWriteDumpFunction write_dump = FindDumpWriter();
  const HWND owner = ReportOwner();
  // Static: a crash may come from a thread with little stack left.
  static wchar_t path[kPathCapacity] VORN_ZERO_FILLED;
  static wchar_t message[kMessageCapacity] VORN_ZERO_FILLED;
  if (write_dump != nullptr) {
    BuildDumpPath(path);
    WriteDump(write_dump, path, pointers);
    FormatReport(message, exception_code, path);
  } else {
    FormatReport(message, exception_code, nullptr);
  }
  MessageBoxW(owner, message, kCaption, MB_OK | MB_ICONERROR);
  return kExecuteHandler;
}

// The guarded region's handler, reached by the system's exception dispatch.
extern "C" EXCEPTION_DISPOSITION VornGuardedRegionHandler(EXCEPTION_RECORD* record, void*,
                                                          CONTEXT* context, void*) {
  constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND
  if (record == nullptr || (record->ExceptionFlags & kUnwinding) != 0) {
    return ExceptionContinueSearch;
  }
  EXCEPTION_POINTERS pointers{record, context};
  if (CrashHandler::Filter(record->ExceptionCode, &pointers) != CrashHandler::kExecuteHandler) {
    return ExceptionContinueSearch;
  }
  EndProcess(record->ExceptionCode);
}

void CrashHandler::RaiseTerminate() noexcept {
  RaiseException(kTerminateCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  // Nothing may continue a fatal fault.
  std::abort();
}

}  // namespace vorn

// The C++ runtime's default terminate handler, defined here instead of taken
// from the runtime library: the library's prints a demangled description of
// the active exception to a console that a windowed program does not have,
// and brings the demangler (some 50 KB) into every program. Ours reports the
// terminate like any crash. Any program that links the crash handler gets
// this one: the link takes this object before it reaches the runtime
// library.
void __gnu_cxx::__verbose_terminate_handler() {
  vorn::CrashHandler::RaiseTerminate();
}
