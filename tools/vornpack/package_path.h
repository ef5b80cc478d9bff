// The rule for paths inside a package archive. Entries are known only by
// the hash of their path as spelled, so a path that the installer could
// never ask for (a backslash, a leading "/", an empty or ".." segment) is a
// mistake of the package's author: it is refused with its name rather than
// packed as a file nobody finds. Extraction applies the same rule to names
// read from an archive, so that no name escapes the output folder.
#pragma once

#include <string>

#include "foundation/result.h"

namespace vornpack {

// 0 for a valid path; 31 with the reason otherwise.
vorn::Result CheckPackagePath(const std::u16string& path, std::string& reason);

}  // namespace vornpack
