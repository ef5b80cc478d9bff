#include <objbase.h>
#include <windows.h>

#include <cstring>

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

bool NewRandomGuid(vorn::Guid& guid) {
  // The system's own generator makes version 4 identifiers from its
  // cryptographic random source.
  GUID created;
  if (CoCreateGuid(&created) != S_OK) return false;
  vorn::Guid layout;
  static_assert(sizeof created == sizeof layout.bytes, "a GUID is 16 bytes");
  std::memcpy(layout.bytes, &created, sizeof layout.bytes);
  guid = vorn::SwapGuidFields(layout);
  return true;
}

std::u16string ExecutablePath() {
  // Long paths: grow the buffer until the name fits.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::u16string path(size, u'\0');
    const DWORD length = GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(&path[0]), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
  return {};
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
