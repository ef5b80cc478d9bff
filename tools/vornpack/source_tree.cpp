#include "source_tree.h"

#include <algorithm>

#include "file_ops.h"
#include "foundation/folder.h"
#include "tool_text.h"

namespace vornpack {
namespace {

Result ListFolder(const std::u16string& folder, const std::u16string& prefix,
                  const std::vector<std::u16string>& excluded, std::vector<SourceFile>& files,
                  std::vector<std::u16string>& skipped, std::string& error) {
  vorn::Folder listing;
  Result r = listing.SetPath(ToString(folder).Text());
  std::vector<std::pair<std::u16string, std::u16string>> subfolders;
  while (r == vorn::kOk && (r = listing.Next()) == vorn::kOk) {
    const vorn::FolderEntry& entry = listing.Entry();
    const std::u16string name = FromString(entry.name);
    const std::u16string disk = folder + name;
    if (entry.is_folder) {
      if (entry.is_link) {
        skipped.push_back(disk);
      } else {
        subfolders.push_back({disk + u"/", prefix + name + u"/"});
      }
      continue;
    }
    if (std::find(excluded.begin(), excluded.end(), disk) != excluded.end()) continue;
    // The same query as the one after packing, so that an unchanged file
    // compares equal to the bit (and a link to a file gives its target's).
    FileStatus status;
    r = QueryFileStatus(disk, status);
    if (r != vorn::kOk || !status.exists) {
      error = "cannot read the status of " + ToUtf8(disk) + " (error " + std::to_string(r) + ")";
      return r != vorn::kOk ? r : vorn::kNotFound;
    }
    if (status.is_folder) {  // a link to a folder, reported as an entry of its own
      skipped.push_back(disk);
      continue;
    }
    SourceFile file;
    file.package_path = prefix + name;
    file.disk_path = disk;
    file.size = status.size;
    file.last_write = status.last_write;
    files.push_back(std::move(file));
  }
  if (r != vorn::kNoMoreItems) {
    error = "cannot list the folder " + ToUtf8(folder) + " (error " + std::to_string(r) + ")";
    return r;
  }
  for (const auto& [disk, package] : subfolders) {
    r = ListFolder(disk, package, excluded, files, skipped, error);
    if (r != vorn::kOk) return r;
  }
  return vorn::kOk;
}

}  // namespace

std::u16string WithSeparator(const std::u16string& folder) {
  if (!folder.empty() && (folder.back() == u'/' || folder.back() == u'\\')) return folder;
  return folder + u"/";
}

Result ListSourceTree(const std::u16string& root, const std::vector<std::u16string>& excluded,
                      std::vector<SourceFile>& files, std::vector<std::u16string>& skipped,
                      std::string& error) {
  files.clear();
  skipped.clear();
  Result r = ListFolder(WithSeparator(root), u"", excluded, files, skipped, error);
  if (r != vorn::kOk) {
    files.clear();
    return r;
  }
  std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) {
    return a.package_path < b.package_path;
  });
  return vorn::kOk;
}

}  // namespace vornpack
