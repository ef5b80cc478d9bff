#include <windows.h>

#include <atomic>

#include "foundation/windows_version.h"

namespace vorn {
namespace {

struct VersionStep {
  DWORD major;
  DWORD minor;
  uint32_t number;
};

constexpr VersionStep kSteps[] = {
    {10, 0, kWindows10},   {6, 3, kWindows81}, {6, 2, kWindows8},    {6, 1, kWindows7},
    {6, 0, kWindowsVista}, {5, 1, kWindowsXP}, {5, 0, kWindows2000}, {4, 0, kWindowsNT4},
};

// 0 until computed. Two threads that race compute the same answer, so a
// plain atomic store is all the one-time initialisation needs (XP has no
// InitOnce).
std::atomic<uint32_t> cached_version{0};

// Whether the running system is major.minor or later. Unlike GetVersionExW,
// this is not capped at 6.2 for programs without a compatibility manifest.
bool IsAtLeast(DWORD major, DWORD minor) noexcept {
  OSVERSIONINFOEXW wanted = {};
  wanted.dwOSVersionInfoSize = sizeof(wanted);
  wanted.dwMajorVersion = major;
  wanted.dwMinorVersion = minor;
  ULONGLONG conditions = 0;
  conditions = VerSetConditionMask(conditions, VER_MAJORVERSION, VER_GREATER_EQUAL);
  conditions = VerSetConditionMask(conditions, VER_MINORVERSION, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION, conditions) != FALSE;
}

uint32_t ComputeVersion() noexcept {
  for (const VersionStep& step : kSteps) {
    if (IsAtLeast(step.major, step.minor)) return step.number;
  }
  return kWindows10;
}

}  // namespace

uint32_t WindowsVersion() noexcept {
  uint32_t version = cached_version.load(std::memory_order_acquire);
  if (version == 0) {
    version = ComputeVersion();
    cached_version.store(version, std::memory_order_release);
  }
  return version;
}

}  // namespace vorn
