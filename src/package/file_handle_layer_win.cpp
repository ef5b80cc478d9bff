// The file handle layer's system calls on Windows.
#include <windows.h>

#include "foundation/system_error.h"
#include "package/file_handle_layer.h"

namespace vorn {

namespace {

HANDLE Handle(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

Result FileHandleLayer::SystemOpen(const String& path, Mode mode, intptr_t& handle) noexcept {
  const DWORD access = mode == kReading ? GENERIC_READ : GENERIC_WRITE;
  const DWORD share = mode == kReading ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
  const DWORD disposition = mode == kReading ? OPEN_EXISTING : CREATE_ALWAYS;
  HANDLE file =
      CreateFileW(reinterpret_cast<const wchar_t*>(path.Text()), access, share, nullptr,
                  disposition, FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastSystemResult();
  handle = reinterpret_cast<intptr_t>(file);
  return kOk;
}

Result FileHandleLayer::SystemSize(intptr_t handle, uint64_t& size) noexcept {
  LARGE_INTEGER zero = {};
  LARGE_INTEGER here = {};
  LARGE_INTEGER end = {};
  if (!SetFilePointerEx(Handle(handle), zero, &here, FILE_CURRENT) ||
      !SetFilePointerEx(Handle(handle), zero, &end, FILE_END) ||
      !SetFilePointerEx(Handle(handle), here, nullptr, FILE_BEGIN)) {
    return LastSystemResult();
  }
  size = static_cast<uint64_t>(end.QuadPart);
  return kOk;
}

Result FileHandleLayer::SystemRead(intptr_t handle, void* buffer, uint32_t count,
                                   uint32_t& done) noexcept {
  DWORD got = 0;
  BOOL ok = ReadFile(Handle(handle), buffer, count, &got, nullptr);
  done = got;
  return ok ? kOk : LastSystemResult();
}

Result FileHandleLayer::SystemWrite(intptr_t handle, const void* buffer, uint32_t count,
                                    uint32_t& done) noexcept {
  DWORD put = 0;
  BOOL ok = WriteFile(Handle(handle), buffer, count, &put, nullptr);
  done = put;
  return ok ? kOk : LastSystemResult();
}

Result FileHandleLayer::SystemSeek(intptr_t handle, uint64_t offset) noexcept {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(Handle(handle), distance, nullptr, FILE_BEGIN) ? kOk : LastSystemResult();
}

Result FileHandleLayer::SystemFlush(intptr_t handle) noexcept {
  return FlushFileBuffers(Handle(handle)) ? kOk : LastSystemResult();
}

Result FileHandleLayer::SystemSetModificationTime(intptr_t handle, DateTime time) noexcept {
  const uint64_t ticks = time.ToFileTime();
  FILETIME written;
  written.dwLowDateTime = static_cast<DWORD>(ticks);
  written.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return SetFileTime(Handle(handle), nullptr, nullptr, &written) ? kOk : LastSystemResult();
}

Result FileHandleLayer::SystemClose(intptr_t handle) noexcept {
  return CloseHandle(Handle(handle)) ? kOk : LastSystemResult();
}

}  // namespace vorn
