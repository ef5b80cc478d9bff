#include "application/crash_handler.h"

#include <atomic>

namespace vorn {

namespace {

std::atomic<void*> debug_help_module{nullptr};
std::atomic<void*> owner_window{nullptr};

}  // namespace

void CrashHandler::SetDebugHelpModule(void* module) noexcept {
  debug_help_module.store(module, std::memory_order_release);
}

void* CrashHandler::DebugHelpModule() noexcept {
  return debug_help_module.load(std::memory_order_acquire);
}

void CrashHandler::SetOwnerWindow(void* handle) noexcept {
  owner_window.store(handle, std::memory_order_release);
}

void* CrashHandler::OwnerWindow() noexcept {
  return owner_window.load(std::memory_order_acquire);
}

const char16_t* CrashHandler::SupportAddress() noexcept {
  return u"" VORN_SUPPORT_EMAIL;
}

}  // namespace vorn
