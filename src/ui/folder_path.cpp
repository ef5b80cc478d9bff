#include "ui/folder_path.h"

namespace vorn {

uint32_t FolderPickerFlags(bool new_folder_button) noexcept {
  return kFolderPickerFlags | (new_folder_button ? 0 : kFolderPickerNoNewFolderButton);
}

Result FolderPickerResult(bool chosen, const String& chosen_path, String& path) noexcept {
  path = String();
  if (!chosen) return kCancelled;
  if (chosen_path.IsEmpty()) return kFailed;
  path = chosen_path;
  const char16_t last = path[path.Length() - 1];
  if (last != u'\\' && last != u'/') path += u'\\';
  return kOk;
}

}  // namespace vorn
