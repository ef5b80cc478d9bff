#include <windows.h>

#include "file_ops.h"
#include "foundation/system_error.h"

namespace vornpack {

Result QueryFileStatus(const std::u16string& path, FileStatus& status) {
  status = FileStatus{};
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(reinterpret_cast<const wchar_t*>(path.c_str()), GetFileExInfoStandard,
                            &data)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? vorn::kOk
               : vorn::ResultFromSystemError(error);
  }
  status.exists = true;
  status.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  status.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  status.last_write = vorn::DateTime::FromFileTime(
      (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime);
  return vorn::kOk;
}

Result RenameReplacing(const std::u16string& from, const std::u16string& to) {
  if (!MoveFileExW(reinterpret_cast<const wchar_t*>(from.c_str()),
                   reinterpret_cast<const wchar_t*>(to.c_str()),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return vorn::LastSystemResult();
  }
  return vorn::kOk;
}

uint32_t CurrentProcessId() {
  return GetCurrentProcessId();
}

}  // namespace vornpack

namespace vornpack {

Result FullPath(const std::u16string& path, std::u16string& full) {
  full.clear();
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(path.c_str());
  const DWORD needed = GetFullPathNameW(wide, 0, nullptr, nullptr);
  if (needed == 0) return vorn::LastSystemResult();
  std::u16string buffer(needed, u'\0');
  const DWORD length =
      GetFullPathNameW(wide, needed, reinterpret_cast<wchar_t*>(&buffer[0]), nullptr);
  if (length == 0 || length >= needed) return vorn::LastSystemResult();
  buffer.resize(length);
  full = buffer;
  return vorn::kOk;
}

}  // namespace vornpack
