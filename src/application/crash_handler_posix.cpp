#include <cstdlib>

#include "application/crash_handler.h"

namespace vorn {

// On POSIX the system's own crash handling (and the sanitizers) report
// crashes; the framework writes no dump there.
int32_t CrashHandler::Filter(uint32_t, void*) noexcept {
  return kContinueSearch;
}

Result CrashHandler::RunGuarded(ThreadBody body, void* context) noexcept {
  if (body == nullptr) return kInvalidArgument;
  return body(context);
}

void CrashHandler::RaiseTerminate() noexcept {
  std::abort();
}

String CrashHandler::DumpPath() noexcept {
  return String();
}

String CrashHandler::ReportText(uint32_t, const char16_t*) noexcept {
  return String();
}

}  // namespace vorn
