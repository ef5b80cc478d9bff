#include <time.h>

#include "setup/time_remaining_estimator.h"

namespace vorn {

double TimeRemainingClockSeconds() noexcept {
  timespec now{};
  if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return 0;
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace vorn
