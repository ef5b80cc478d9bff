#include <time.h>
#include <unistd.h>

#include <cstdlib>

#include "system_info.h"

namespace vornpack {

uint32_t ProcessorCount() {
  const long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count > 0 ? static_cast<uint32_t>(count) : 1;
}

double MonotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

std::string EnvironmentVariable(const char* name, bool& found) {
  const char* value = std::getenv(name);
  found = value != nullptr;
  return found ? value : "";
}

}  // namespace vornpack
