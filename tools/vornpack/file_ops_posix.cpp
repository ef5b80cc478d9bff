#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_ops.h"
#include "foundation/system_error.h"
#include "tool_text.h"

namespace vornpack {

Result QueryFileStatus(const std::u16string& path, FileStatus& status) {
  status = FileStatus{};
  struct stat info;
  if (stat(ToUtf8(path).c_str(), &info) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? vorn::kOk : vorn::ResultFromErrno(errno);
  }
  status.exists = true;
  status.is_folder = S_ISDIR(info.st_mode);
  status.size = static_cast<uint64_t>(info.st_size);
  status.last_write = vorn::DateTime::FromUnixTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
  return vorn::kOk;
}

Result RenameReplacing(const std::u16string& from, const std::u16string& to) {
  if (std::rename(ToUtf8(from).c_str(), ToUtf8(to).c_str()) != 0) {
    return vorn::ResultFromErrno(errno);
  }
  return vorn::kOk;
}

uint32_t CurrentProcessId() {
  return static_cast<uint32_t>(getpid());
}

}  // namespace vornpack

#include <climits>
#include <cstdlib>

namespace vornpack {

Result FullPath(const std::u16string& path, std::u16string& full) {
  full.clear();
  const std::string utf8 = ToUtf8(path);
  char resolved[PATH_MAX];
  if (realpath(utf8.c_str(), resolved) != nullptr) {
    full = FromUtf8(resolved);
    return vorn::kOk;
  }
  const size_t slash = utf8.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : utf8.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? utf8 : utf8.substr(slash + 1);
  if (name.empty() || realpath(folder.c_str(), resolved) == nullptr) {
    return vorn::ResultFromErrno(errno);
  }
  std::string joined = resolved;
  if (joined.back() != '/') joined += '/';
  full = FromUtf8(joined + name);
  return vorn::kOk;
}

}  // namespace vornpack
