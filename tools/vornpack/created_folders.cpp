#include "created_folders.h"

#include "file_ops.h"
#include "foundation/folder.h"
#include "tool_text.h"

namespace vornpack {

vorn::Result CreatedFolders::Ensure(const std::u16string& folder, std::string& error) {
  std::vector<std::u16string> missing;
  for (std::u16string f = folder; !f.empty();) {
    FileStatus status;
    QueryFileStatus(f, status);
    if (status.exists) break;
    missing.push_back(f);
    const size_t slash = f.find_last_of(u"/\\", f.size() - 2);
    if (slash == std::u16string::npos) break;
    f = f.substr(0, slash + 1);
  }
  vorn::Result r = vorn::Folder::Create(ToString(folder).Text());
  if (r != vorn::kOk) {
    error = "cannot create the folder " + ToUtf8(folder) + " (error " + std::to_string(r) + ")";
    return r;
  }
  created_.insert(created_.end(), missing.rbegin(), missing.rend());
  return vorn::kOk;
}

void CreatedFolders::RemoveAll() {
  for (auto f = created_.rbegin(); f != created_.rend(); ++f) {
    vorn::Folder::Remove(ToString(*f).Text(), vorn::Folder::kRemoveOnlyFolder);
  }
  created_.clear();
}

}  // namespace vornpack
