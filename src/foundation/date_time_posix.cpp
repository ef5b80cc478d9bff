#include <time.h>

#include "foundation/date_time.h"

namespace vorn {

DateTime DateTime::Now() noexcept {
  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) return DateTime();
  return FromUnixTime(now.tv_sec, now.tv_nsec);
}

}  // namespace vorn
