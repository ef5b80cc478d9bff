#include <time.h>

#include "analytics/random_generator.h"

namespace vorn {

uint64_t RandomCounter() noexcept {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

}  // namespace vorn
