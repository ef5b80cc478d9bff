#include "win/tree_copy_win.h"

#include <windows.h>

namespace probe {

namespace {

vorn::Result FromError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return vorn::kNotFound;
    case ERROR_PATH_NOT_FOUND:
      return vorn::kInvalidPath;
    case ERROR_ACCESS_DENIED:
      return vorn::kAccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return vorn::kDiskFull;
    default:
      return vorn::kSystemFailure;
  }
}

// Creates the folder with every missing parent.
vorn::Result MakeFolder(const std::wstring& folder) {
  if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
    return vorn::kOk;
  }
  const size_t separator = folder.find_last_of(L"\\/");
  if (GetLastError() != ERROR_PATH_NOT_FOUND || separator == std::wstring::npos || separator == 0 ||
      folder[separator - 1] == L':') {
    return vorn::kInvalidPath;
  }
  if (MakeFolder(folder.substr(0, separator)) != vorn::kOk) return vorn::kInvalidPath;
  return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS
             ? vorn::kOk
             : vorn::kInvalidPath;
}

}  // namespace

vorn::Result CopyTree(const std::wstring& source, const std::wstring& target, CopyTotals& totals) {
  const DWORD attributes = GetFileAttributesW(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return vorn::kNotFound;
  }
  if (const vorn::Result r = MakeFolder(target); r != vorn::kOk) return r;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((source + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return vorn::kOk;  // an empty folder
  vorn::Result r = vorn::kOk;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring from = source + L"\\" + name;
    const std::wstring to = target + L"\\" + name;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      r = CopyTree(from, to, totals);
    } else if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) {
      r = FromError(GetLastError());
    } else {
      ++totals.files;
      totals.bytes += (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
  } while (r == vorn::kOk && FindNextFileW(search, &found));
  FindClose(search);
  return r;
}

}  // namespace probe
