#include <windows.h>

#include "analytics/random_generator.h"

namespace vorn {

uint64_t RandomCounter() noexcept {
  LARGE_INTEGER counter;
  if (QueryPerformanceCounter(&counter)) return static_cast<uint64_t>(counter.QuadPart);
  return GetTickCount();
}

}  // namespace vorn
