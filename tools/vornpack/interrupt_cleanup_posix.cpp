#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "interrupt_cleanup.h"
#include "tool_text.h"

namespace vornpack {
namespace {

// Slots the handler reads without locks: a slot holds a complete path or
// null, and a path is freed only after its slot was cleared.
constexpr int kSlots = 1024;
std::atomic<char*> g_paths[kSlots];
std::atomic<bool> g_installed{false};

void OnSignal(int signal_number) {
  for (auto& slot : g_paths) {
    const char* path = slot.load();
    if (path != nullptr) unlink(path);
  }
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

void Install() {
  if (g_installed.exchange(true)) return;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
}

}  // namespace

void RemoveOnInterrupt(const std::u16string& path) {
  Install();
  const std::string utf8 = ToUtf8(path);
  char* copy = new char[utf8.size() + 1];
  std::memcpy(copy, utf8.c_str(), utf8.size() + 1);
  for (auto& slot : g_paths) {
    char* expected = nullptr;
    if (slot.compare_exchange_strong(expected, copy)) return;
  }
  delete[] copy;  // table full: this one is not cleaned up on interrupt
}

void ForgetOnInterrupt(const std::u16string& path) {
  const std::string utf8 = ToUtf8(path);
  for (auto& slot : g_paths) {
    char* held = slot.load();
    if (held != nullptr && utf8 == held && slot.compare_exchange_strong(held, nullptr)) {
      delete[] held;
      return;
    }
  }
}

}  // namespace vornpack
