// No folder picker without a window system.
#include "ui/folder_path.h"

namespace vorn {

Result RunFolderPicker(const FolderPickerOptions&, String& path) noexcept {
  path = String();
  return kNotSupported;
}

}  // namespace vorn
