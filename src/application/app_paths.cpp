#include "application/app_paths.h"

#include "foundation/path.h"

namespace vorn {

String AppPathsKey(const String& program_path) noexcept {
  return u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" +
         path::FileName(program_path);
}

}  // namespace vorn
