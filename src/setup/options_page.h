// The options tab: the install folder (typed or browsed), the program
// group (typed or picked among the Programs menu's folders) and the two
// shortcut check boxes. Every change is validated at once and enables or
// disables the install button; the folder and group go to the installation
// settings when the page's window goes.
#pragma once

#include "ui/page.h"

namespace vorn {

class OptionsPage : public Page {
 public:
  bool HandleMessage(WindowMessage& message) noexcept override;
  bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept override;

  bool GroupPicked() const noexcept { return group_picked_; }

 protected:
  Result OnCreated() noexcept override;
  void OnDestroying() noexcept override;

 private:
  void Validate() noexcept;
  void GroupEdited() noexcept;
  void BrowseForFolder() noexcept;
  void FillProgramGroups(Window& combo) noexcept;
  String FolderText() const noexcept;
  String GroupText() const noexcept;

  bool group_picked_ = false;
};

}  // namespace vorn
