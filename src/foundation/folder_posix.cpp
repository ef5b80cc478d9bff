#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/folder.h"
#include "foundation/path.h"
#include "foundation/system_error.h"

namespace vorn {
namespace {

// The framework accepts '\' as a separator on every platform; POSIX calls
// get '/' only.
String PosixForm(const String& path) noexcept {
  String form = path;
  form.Replace(u'\\', u'/');
  return form;
}

// The path without its trailing separators ("/" stays "/").
String WithoutTrailingSeparators(const String& path) noexcept {
  uint32_t end = path.Length();
  while (end > 1 && path::IsSeparator(path[end - 1])) --end;
  return path.Left(end);
}

DateTime FromTimespec(const timespec& time) noexcept {
  return DateTime::FromUnixTime(time.tv_sec, time.tv_nsec);
}

Result StatEntry(DIR* directory, const char* name, FolderEntry& entry) noexcept {
  struct stat status {};
  if (fstatat(dirfd(directory), name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return ResultFromErrno(errno);
  }
  entry.attributes = static_cast<uint32_t>(status.st_mode);
  entry.size = static_cast<uint64_t>(status.st_size);
  entry.is_folder = S_ISDIR(status.st_mode);
  entry.is_link = S_ISLNK(status.st_mode);
  entry.last_write_time = FromTimespec(status.st_mtim);
  // POSIX keeps no creation time; the status change is the closest.
  entry.creation_time = FromTimespec(status.st_ctim);
  return kOk;
}

bool IsExistingFolder(const char* path) noexcept {
  struct stat status {};
  return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

Result Folder::OpenSearch() noexcept {
  const Utf8Text folder(PosixForm(path_));
  if (folder.Length() == 0) return kOutOfMemory;
  DIR* directory = opendir(folder.Text());
  if (directory == nullptr) return ResultFromErrno(errno);
  search_ = directory;
  return ReadNextEntry();
}

Result Folder::ReadNextEntry() noexcept {
  DIR* directory = static_cast<DIR*>(search_);
  if (directory == nullptr) return kNotOpen;
  entry_ = FolderEntry();
  errno = 0;
  const dirent* found = readdir(directory);
  if (found == nullptr) return errno == 0 ? kNoMoreItems : ResultFromErrno(errno);
  entry_.name = Utf8ToString(found->d_name);
  if (entry_.name.IsEmpty()) return kOutOfMemory;
  if (entry_.name == u"." || entry_.name == u"..") return kOk;
  const Result status = StatEntry(directory, found->d_name, entry_);
  // An entry deleted between the listing and the status call is skipped.
  if (status == kNotFound) return ReadNextEntry();
  return status;
}

void Folder::CloseSearch() noexcept {
  if (search_ != nullptr) closedir(static_cast<DIR*>(search_));
  search_ = nullptr;
}

Result Folder::Create(const char16_t* path) noexcept {
  if (path == nullptr || *path == 0) return kInvalidPath;
  const String full = path::WithTrailingSeparator(PosixForm(String(path)));
  if (full.IsEmpty()) return kOutOfMemory;
  Result last = kInvalidPath;
  bool created_any = false;
  // Each prefix up to a separator is one level; the root needs no creation.
  for (uint32_t i = 1; i < full.Length(); ++i) {
    if (full[i] != u'/' || full[i - 1] == u'/') continue;
    const Utf8Text level(full.Left(i));
    last = mkdir(level.Text(), 0777) == 0 ? kOk : ResultFromErrno(errno);
    created_any = true;
    if (last != kOk && last != kAlreadyExists && last != kAccessDenied) return last;
  }
  const Utf8Text whole(full);
  if (!created_any) return IsExistingFolder(whole.Text()) ? kOk : kInvalidPath;
  if (last == kAlreadyExists) return IsExistingFolder(whole.Text()) ? kOk : kAlreadyExists;
  return last;
}

bool Folder::Exists(const char16_t* path) noexcept {
  if (path == nullptr || *path == 0) return false;
  const Utf8Text folder(PosixForm(String(path)));
  return IsExistingFolder(folder.Text());
}

// Made absolute against the current folder, then "." and ".." are applied
// to the text (as Windows does), so that the removal guard sees what the
// path comes to; links are not followed.
Result Folder::ResolvedPath(const String& path, String& resolved) noexcept {
  resolved = String();
  String full = PosixForm(path);
  if (full.IsEmpty() || full[0] != u'/') {
    char current[4096];
    if (getcwd(current, sizeof current) == nullptr) return ResultFromErrno(errno);
    full = Utf8ToString(current) + u'/' + full;
  }
  const bool trailing = path::EndsWithSeparator(full);
  String out;
  uint32_t start = 0;
  while (start < full.Length()) {
    uint32_t end = start;
    while (end < full.Length() && full[end] != u'/') ++end;
    const String name = full.Middle(start, end - start);
    if (name == u"..") {
      int64_t cut = static_cast<int64_t>(out.Length()) - 1;
      while (cut >= 0 && out[static_cast<uint32_t>(cut)] != u'/') --cut;
      out = out.Left(cut < 0 ? 0 : static_cast<uint32_t>(cut));
    } else if (!name.IsEmpty() && name != u".") {
      out += u'/';
      out += name;
    }
    start = end + 1;
  }
  if (out.IsEmpty() || trailing) out += u'/';
  resolved = out;
  return kOk;
}

Result Folder::RemoveSingleFolder(const String& path) noexcept {
  const Utf8Text folder(WithoutTrailingSeparators(PosixForm(path)));
  if (folder.Length() == 0) return kOutOfMemory;
  if (rmdir(folder.Text()) == 0) return kOk;
  // Some systems report a folder that still holds entries as EEXIST.
  return errno == EEXIST ? kFolderNotEmpty : ResultFromErrno(errno);
}

Result Folder::RemoveSingleFile(const String& path) noexcept {
  const Utf8Text file(PosixForm(path));
  if (file.Length() == 0) return kOutOfMemory;
  return unlink(file.Text()) == 0 ? kOk : ResultFromErrno(errno);
}

Result Folder::RemoveWithShell(const String& path) noexcept {
  // No shell here: the same result by a walk that deletes files and links
  // (never what a link points to) and then the emptied folders.
  return RemoveTree(path, true);
}

}  // namespace vorn
