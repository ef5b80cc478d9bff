#include <windows.h>

#include "foundation/date_time.h"

namespace vorn {

DateTime DateTime::Now() noexcept {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);  // cannot fail
  const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return FromFileTime(ticks);
}

}  // namespace vorn
