#include <windows.h>

#include "system_info.h"
#include "tool_text.h"

namespace vornpack {

uint32_t ProcessorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}

double MonotonicSeconds() {
  LARGE_INTEGER frequency, now;
  if (!QueryPerformanceFrequency(&frequency) || !QueryPerformanceCounter(&now) ||
      frequency.QuadPart == 0) {
    return GetTickCount() / 1000.0;  // wraps after 49 days; only a fallback
  }
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string EnvironmentVariable(const char* name, bool& found) {
  const std::u16string wide = FromUtf8(name);
  wchar_t buffer[512];
  const DWORD length =
      GetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(wide.c_str()), buffer, 512);
  found = length > 0 && length < 512;
  return found ? ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(buffer), length)) : "";
}

}  // namespace vornpack
