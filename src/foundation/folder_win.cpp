#include <windows.h>
// The shell and COM headers need windows.h first.
#include <shellapi.h>

#include <cstdlib>

#include "foundation/folder.h"
#include "foundation/path.h"
#include "foundation/system_error.h"

namespace vorn {
namespace {

const wchar_t* Wide(const String& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.Text());
}

bool StartsWith(const String& text, const char16_t* prefix) noexcept {
  for (uint32_t i = 0; prefix[i] != 0; ++i) {
    if (i >= text.Length() || text[i] != prefix[i]) return false;
  }
  return true;
}

constexpr char16_t kLongPrefix[] = u"\\\\?\\";
constexpr char16_t kLongUncPrefix[] = u"\\\\?\\UNC\\";
constexpr char16_t kDevicePrefix[] = u"\\\\.\\";
// The most units a long-path form may have; beyond it no folder can exist.
constexpr uint32_t kLongestPath = 32767;

// The system's full form of a path: relative paths are resolved against the
// current folder, "." and ".." are applied, '/' becomes '\'. Trailing
// separators stay.
Result FullPath(const String& path, String& full) noexcept {
  full = String();
  String backslashed = path;
  backslashed.Replace(u'/', u'\\');
  const DWORD needed = GetFullPathNameW(Wide(backslashed), 0, nullptr, nullptr);
  if (needed == 0) return LastSystemResult();
  wchar_t* buffer = static_cast<wchar_t*>(std::malloc(sizeof(wchar_t) * (needed + 1)));
  if (buffer == nullptr) return kOutOfMemory;
  const DWORD length = GetFullPathNameW(Wide(backslashed), needed + 1, buffer, nullptr);
  Result result = kOk;
  if (length == 0) {
    result = LastSystemResult();
  } else if (length > needed) {
    result = kInvalidPath;  // the current folder changed meanwhile
  } else {
    full.Assign(reinterpret_cast<const char16_t*>(buffer), length);
    if (full.Length() != length) result = kOutOfMemory;
  }
  std::free(buffer);
  return result;
}

// The long-path form ("\\?\" + full path) that lifts the 260-unit limit of
// the folder functions. The prefix also turns off the system's own clean-up
// of the path, so the path is made full and clean first: a relative path
// cannot take the prefix as it stands.
Result LongPathForm(const String& path, String& form) noexcept {
  form = String();
  if (StartsWith(path, kLongPrefix)) {
    if (path.Length() > kLongestPath) return kInvalidPath;
    form = path;
    form.Replace(u'/', u'\\');
    return form.IsEmpty() ? kOutOfMemory : kOk;
  }
  String full;
  const Result result = FullPath(path, full);
  if (result != kOk) return result;
  if (StartsWith(full, kDevicePrefix)) {
    form = full;
  } else if (full.Length() >= 2 && full[0] == u'\\' && full[1] == u'\\') {
    form = kLongUncPrefix + full.Tail(2);
  } else {
    form = kLongPrefix + full;
  }
  if (form.IsEmpty()) return kOutOfMemory;
  if (form.Length() > kLongestPath) {
    form = String();
    return kInvalidPath;
  }
  return kOk;
}

// Length of the root of a long form: "\\?\C:\", "\\?\UNC\server\share\" or
// "\\?\Volume{...}\"; the walk of a creation starts after it.
uint32_t RootLength(const String& form) noexcept {
  uint32_t separators_to_skip = StartsWith(form, kLongUncPrefix) ? 2 : 1;
  const uint32_t start = StartsWith(form, kLongUncPrefix) ? 8 : 4;
  for (uint32_t i = start; i < form.Length(); ++i) {
    if (form[i] == u'\\' && --separators_to_skip == 0) return i + 1;
  }
  return form.Length();
}

String WithoutTrailingSeparators(const String& form) noexcept {
  uint32_t end = form.Length();
  const uint32_t root = RootLength(form);
  while (end > root && form[end - 1] == u'\\') --end;
  return form.Left(end);
}

bool IsFolderForm(const String& form) noexcept {
  const DWORD attributes = GetFileAttributesW(Wide(form));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

DateTime FromFileTime(const FILETIME& time) noexcept {
  return DateTime::FromFileTime((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
}

void FillEntry(const WIN32_FIND_DATAW& data, FolderEntry& entry) noexcept {
  entry.name = reinterpret_cast<const char16_t*>(data.cFileName);
  entry.attributes = data.dwFileAttributes;
  entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.creation_time = FromFileTime(data.ftCreationTime);
  entry.last_write_time = FromFileTime(data.ftLastWriteTime);
  entry.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.is_link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Missing, whether the folder itself or one of its parents.
Result MissingAsNotFound(DWORD error) noexcept {
  return error == ERROR_PATH_NOT_FOUND ? kNotFound : ResultFromSystemError(error);
}

// The path as the shell's file operation wants it: full, without the
// long-path prefix (which the shell does not take) and without a trailing
// separator, followed by two 0 units.
Result ShellPathList(const String& path, wchar_t*& list) noexcept {
  list = nullptr;
  String full;
  Result result = FullPath(path, full);
  if (result != kOk) return result;
  if (StartsWith(full, kLongUncPrefix)) {
    full = u"\\\\" + full.Tail(8);
  } else if (StartsWith(full, kLongPrefix)) {
    full = full.Tail(4);
  }
  uint32_t end = full.Length();
  while (end > 0 && full[end - 1] == u'\\') --end;
  // The shell expands wildcards in the names it is given: a '*' would delete
  // every matching entry instead of the one folder.
  for (uint32_t i = 0; i < end; ++i) {
    if (full[i] == u'*' || full[i] == u'?') return kInvalidArgument;
  }
  list = static_cast<wchar_t*>(std::calloc(end + 2, sizeof(wchar_t)));
  if (list == nullptr) return kOutOfMemory;
  for (uint32_t i = 0; i < end; ++i) list[i] = static_cast<wchar_t>(full[i]);
  return kOk;
}

}  // namespace

Result Folder::OpenSearch() noexcept {
  String form;
  const Result result = LongPathForm(path_, form);
  if (result != kOk) return result;
  const String pattern = form + u"*.*";
  if (pattern.IsEmpty()) return kOutOfMemory;
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW(Wide(pattern), &data);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // Only a drive root can be without "." and "..": nothing to list.
    return error == ERROR_FILE_NOT_FOUND ? kNoMoreItems : ResultFromSystemError(error);
  }
  search_ = search;
  entry_ = FolderEntry();
  FillEntry(data, entry_);
  return kOk;
}

Result Folder::ReadNextEntry() noexcept {
  if (search_ == nullptr) return kNotOpen;
  WIN32_FIND_DATAW data;
  entry_ = FolderEntry();
  if (!FindNextFileW(static_cast<HANDLE>(search_), &data)) return LastSystemResult();
  FillEntry(data, entry_);
  return kOk;
}

void Folder::CloseSearch() noexcept {
  if (search_ != nullptr) FindClose(static_cast<HANDLE>(search_));
  search_ = nullptr;
}

Result Folder::Create(const char16_t* path) noexcept {
  if (path == nullptr || *path == 0) return kInvalidPath;
  String form;
  Result last = LongPathForm(path::WithTrailingSeparator(String(path)), form);
  if (last != kOk) return last;
  if (!path::EndsWithSeparator(form)) form += u'\\';
  bool walked = false;
  for (uint32_t i = RootLength(form); i < form.Length(); ++i) {
    if (form[i] != u'\\' || form[i - 1] == u'\\') continue;
    const String level = form.Left(i);
    last = CreateDirectoryW(Wide(level), nullptr) ? kOk : LastSystemResult();
    walked = true;
    // Levels that exist, or that this process may not create (a root, a
    // share), are passed on the way to the ones below.
    if (last != kOk && last != kAlreadyExists && last != kAccessDenied) return last;
  }
  if (!walked) return IsFolderForm(form) ? kOk : kInvalidPath;
  // "Already exists" is only success when what exists is a folder.
  if (last == kAlreadyExists) return IsFolderForm(form) ? kOk : kAlreadyExists;
  return last;
}

bool Folder::Exists(const char16_t* path) noexcept {
  if (path == nullptr || *path == 0) return false;
  String form;
  return LongPathForm(String(path), form) == kOk && IsFolderForm(form);
}

Result Folder::ResolvedPath(const String& path, String& resolved) noexcept {
  return FullPath(path, resolved);
}

Result Folder::RemoveSingleFolder(const String& path) noexcept {
  String form;
  const Result result = LongPathForm(path, form);
  if (result != kOk) return result;
  const String folder = WithoutTrailingSeparators(form);
  if (RemoveDirectoryW(Wide(folder))) return kOk;
  return MissingAsNotFound(GetLastError());
}

Result Folder::RemoveSingleFile(const String& path) noexcept {
  String form;
  const Result result = LongPathForm(path, form);
  if (result != kOk) return result;
  return DeleteFileW(Wide(form)) ? kOk : LastSystemResult();
}

Result Folder::RemoveWithShell(const String& path) noexcept {
  wchar_t* list = nullptr;
  const Result result = ShellPathList(path, list);
  if (result != kOk) return result;
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list;
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
  const int failure = SHFileOperationW(&operation);
  std::free(list);
  return failure != 0 || operation.fAnyOperationsAborted ? kFailed : kOk;
}

}  // namespace vorn
