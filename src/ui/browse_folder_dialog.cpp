#include "ui/browse_folder_dialog.h"

#include "ui/folder_path.h"
#include "xml/xml_element.h"

namespace vorn {

Result BrowseFolderDialog::ReadDescription(const XmlElement* element) noexcept {
  const Result result = DialogBox::ReadDescription(element);
  if (result != kOk) return result;
  bool flag = true;
  if (element->ReadOptionalAttributeBoolean(u"NewFolderButton", flag) == kOk)
    new_folder_button_ = flag;
  return kOk;
}

Result BrowseFolderDialog::Run() noexcept {
  selected_ = String();
  FolderPickerOptions options;
  options.owner = Parent() != nullptr ? Parent()->Handle() : nullptr;
  options.prompt = Title();
  options.initial_path = initial_;
  options.desktop_root = desktop_root_;
  options.new_folder_button = new_folder_button_;
  return RunFolderPicker(options, selected_);
}

}  // namespace vorn
