#include <windows.h>

#include <atomic>
#include <cstring>

#include "interrupt_cleanup.h"

namespace vornpack {
namespace {

// Slots the console handler (a thread of its own) reads without locks: a
// slot holds a complete path or null, and a path is freed only after its
// slot was cleared.
constexpr int kSlots = 1024;
std::atomic<wchar_t*> g_paths[kSlots];
std::atomic<bool> g_installed{false};

BOOL WINAPI OnConsoleEvent(DWORD) {
  for (auto& slot : g_paths) {
    const wchar_t* path = slot.load();
    // A file the main thread still holds open may resist; nothing more can
    // be done from here.
    if (path != nullptr) DeleteFileW(path);
  }
  return FALSE;  // and let the default handler end the process
}

}  // namespace

void RemoveOnInterrupt(const std::u16string& path) {
  if (!g_installed.exchange(true)) SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  wchar_t* copy = new wchar_t[path.size() + 1];
  std::memcpy(copy, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
  for (auto& slot : g_paths) {
    wchar_t* expected = nullptr;
    if (slot.compare_exchange_strong(expected, copy)) return;
  }
  delete[] copy;
}

void ForgetOnInterrupt(const std::u16string& path) {
  const std::wstring wide(reinterpret_cast<const wchar_t*>(path.c_str()), path.size());
  for (auto& slot : g_paths) {
    wchar_t* held = slot.load();
    if (held != nullptr && wide == held && slot.compare_exchange_strong(held, nullptr)) {
      delete[] held;
      return;
    }
  }
}

}  // namespace vornpack
