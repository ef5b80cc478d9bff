// The Windows version number, computed once per process: 1 for 4.0, 2 for
// 5.0, 3 for 5.1 (XP), 4 for 6.0 (Vista), 5 for 6.1 (7), 6 for 6.2 (8),
// 7 for 6.3 (8.1), 8 for 10.0; 8 also when none of these is confirmed, and
// on systems that are not Windows.
#pragma once

#include <cstdint>

namespace vorn {

enum WindowsVersionNumber : uint32_t {
  kWindowsNT4 = 1,
  kWindows2000 = 2,
  kWindowsXP = 3,
  kWindowsVista = 4,
  kWindows7 = 5,
  kWindows8 = 6,
  kWindows81 = 7,
  kWindows10 = 8,
};

uint32_t WindowsVersion() noexcept;

}  // namespace vorn
