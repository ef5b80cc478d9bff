// POSIX programs carry no embedded package: the file system starts empty
// and archives are mounted from files or streams.
#include "package/package_file_system.h"

namespace vorn {

Result PackageFileSystem::MountEmbedded() noexcept {
  return kNotFound;
}

}  // namespace vorn
