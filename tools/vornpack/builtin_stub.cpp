#include "builtin_stub.h"

#include "file_ops.h"
#include "source_tree.h"
#include "system_info.h"
#include "tool_text.h"

namespace vornpack {
namespace {

// The folder part of `path` with its separator, or "" for a bare name.
std::u16string FolderOf(const std::u16string& path) {
  const size_t separator = path.find_last_of(u"/\\");
  return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator + 1);
}

}  // namespace

bool FindBuiltInStub(const std::string& arch, std::u16string& path, std::string& error) {
  bool set = false;
  const std::string folder = EnvironmentVariable(kStubFolderVariable, set);
  const std::u16string where =
      set && !folder.empty() ? WithSeparator(FromUtf8(folder)) : FolderOf(ExecutablePath());
  path = where + FromUtf8("vornpack-stub-" + arch + ".exe");
  FileStatus status;
  QueryFileStatus(path, status);
  if (status.exists && !status.is_folder) return true;
  error = "this vornpack carries no " + arch + " installer (" + ToUtf8(path) +
          " is missing): give one with --stub STUB.exe";
  return false;
}

}  // namespace vornpack
