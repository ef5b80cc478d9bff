#include <windows.h>

#include "setup/time_remaining_estimator.h"

namespace vorn {

double TimeRemainingClockSeconds() noexcept {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart != 0 &&
      QueryPerformanceCounter(&now)) {
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
  }
  return static_cast<double>(GetTickCount()) * 0.001;
}

}  // namespace vorn
