// Page: a dialog box that lives inside another window (a tab of a tab
// control, or a page of the installer's main window). Its background is
// transparent; with an owner (the tab control it was added to) it paints
// its client area with the owner's background brush, aligned to the owner,
// so the page and its transparent children show the owner's background.
#pragma once

#include "ui/dialog_box.h"

namespace vorn {

class Page : public DialogBox {
 public:
  Page() noexcept;

  // The owner's brush while the page's own background is transparent or
  // not set.
  void* BackgroundBrush() noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;

 protected:
  bool PaintsWithOwnerBrush() const noexcept;
};

}  // namespace vorn
