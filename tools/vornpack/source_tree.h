// The files of a package's source folder, as the package will hold them:
// each with its package path (relative to the folder, "/" separators), its
// place on disk, and the size and modification time seen when listing, by
// which a change during packing is detected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/date_time.h"
#include "foundation/result.h"

namespace vornpack {

using vorn::Result;

struct SourceFile {
  std::u16string package_path;
  std::u16string disk_path;
  uint64_t size = 0;
  vorn::DateTime last_write;
};

// Lists every file below `root`, sorted by package path (code unit order,
// so the archive comes out the same on every machine). Links to folders are
// not followed (a loop would never end); they are reported in `skipped`.
// Files whose disk path is in `excluded` are left out (the output being
// written inside the source folder). A folder that cannot be read gives its
// error, naming it.
Result ListSourceTree(const std::u16string& root, const std::vector<std::u16string>& excluded,
                      std::vector<SourceFile>& files, std::vector<std::u16string>& skipped,
                      std::string& error);

// `folder` with a trailing separator ('/' unless it holds only '\').
std::u16string WithSeparator(const std::u16string& folder);

}  // namespace vornpack
