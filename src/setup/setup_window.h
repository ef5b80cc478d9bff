// The installer's main window, "MainWindow": a header band with the
// product's title above one page at a time. It owns the five pages
// ("MainPage", "FileTransferPage", "SuccessPage", "FailurePage",
// "CanceledPage"), switches between them on the setup action message, and
// closes when asked to quit (the current page may refuse while it works).
#pragma once

#include "foundation/result.h"
#include "setup/last_page.h"
#include "setup/main_page.h"
#include "setup/setup_action.h"
#include "ui/main_window.h"

namespace vorn {

class SetupWindow : public MainWindow {
 public:
  SetupWindow() noexcept;
  ~SetupWindow() override;

  // Reads "MainWindow" and every page's description. Without `with_pages`
  // only the window itself: the non-elevated process needs no more than an
  // owner for the elevation prompt.
  Result Load(bool with_pages) noexcept;

  bool HandleMessage(WindowMessage& message) noexcept override;
  // Ends the current page (its may-close check runs first) and shows `page`
  // with the focus. False when the current page refused to go.
  bool SwitchPage(Page* page) noexcept;
  void OnSetupAction(SetupAction action) noexcept;

  Page* CurrentPage() const noexcept { return current_; }
  MainPage& Main() noexcept { return main_page_; }

 protected:
  Result OnCreated() noexcept override;

 private:
  void ShowOutcome(Page* page, const char16_t* label) noexcept;
  void RunProduct() noexcept;
  void Quit() noexcept;

  bool with_pages_ = false;
  MainPage main_page_;
  Page* transfer_page_ = nullptr;  // made by the transfer page's factory
  LastPage success_page_{LastPageKind::kSuccess};
  LastPage failure_page_{LastPageKind::kFailure};
  LastPage canceled_page_{LastPageKind::kCanceled};
  Page* current_ = nullptr;
};

}  // namespace vorn
