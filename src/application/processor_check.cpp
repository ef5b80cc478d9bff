#include "application/processor_check.h"

#include "foundation/path.h"

namespace vorn {

String ProcessorCheckCaption(const String& program_path) noexcept {
  String path = program_path;
  path.Trim();
  return path::FileNameWithoutExtension(path).ToLower().Capitalized();
}

}  // namespace vorn
