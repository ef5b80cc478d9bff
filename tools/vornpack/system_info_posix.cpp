#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "system_info.h"
#include "tool_text.h"

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

bool NewRandomGuid(vorn::Guid& guid) {
  FILE* source = std::fopen("/dev/urandom", "rb");
  if (source == nullptr) return false;
  const bool read = std::fread(guid.bytes, 1, sizeof guid.bytes, source) == sizeof guid.bytes;
  std::fclose(source);
  guid.bytes[6] = static_cast<uint8_t>((guid.bytes[6] & 0x0F) | 0x40);
  guid.bytes[8] = static_cast<uint8_t>((guid.bytes[8] & 0x3F) | 0x80);
  return read;
}

std::u16string ExecutablePath() {
  std::vector<char> path(4096);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<size_t>(length) >= path.size()) return {};
  return FromUtf8(std::string(path.data(), static_cast<size_t>(length)));
}

std::string EnvironmentVariable(const char* name, bool& found) {
  const char* value = std::getenv(name);
  found = value != nullptr;
  return found ? value : "";
}

}  // namespace vornpack
