// The folder-browsing dialog behind the options page's browse button: a
// dialog description whose title is the shell picker's prompt.
#pragma once

#include "foundation/result.h"
#include "foundation/string.h"
#include "ui/dialog_box.h"

namespace vorn {

class BrowseFolderDialog : public DialogBox {
 public:
  const char16_t* TypeName() const noexcept override { return u"BrowseFolderDialog"; }
  Result ReadDescription(const XmlElement* element) noexcept override;

  // Runs the picker: 0 and the folder ending with a backslash, 8 when
  // cancelled (the path is then empty), 7 without a root to start from.
  Result Run() noexcept;
  const String& SelectedPath() const noexcept { return selected_; }
  void SetInitialPath(const String& path) noexcept { initial_ = path; }
  void SetDesktopRoot(bool desktop) noexcept { desktop_root_ = desktop; }
  bool NewFolderButton() const noexcept { return new_folder_button_; }

 private:
  String selected_;
  String initial_;
  bool desktop_root_ = false;
  bool new_folder_button_ = true;
};

}  // namespace vorn
