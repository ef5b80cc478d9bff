#include "setup/setup_window.h"

#include "analytics/usage_tracker.h"
#include "application/application_core.h"
#include "application/command_line.h"
#include "foundation/format.h"
#include "resources/localized_text.h"
#include "setup/file_transfer_page.h"
#include "setup/installation_settings.h"
#include "setup/product_launch.h"
#include "setup/setup_controls.h"
#include "ui/installer_controls.h"

namespace vorn {

namespace {

// The elevated child's way of asking its parent to start the product.
constexpr int32_t kRunProductExitCode = 41;

}  // namespace

SetupWindow::SetupWindow() noexcept = default;

SetupWindow::~SetupWindow() {
  Destroy();
  Page* pages[] = {&main_page_, transfer_page_, &success_page_, &failure_page_, &canceled_page_};
  for (Page* page : pages) {
    if (page != nullptr) page->Attach(nullptr);
  }
  delete transfer_page_;
}

Result SetupWindow::Load(bool with_pages) noexcept {
  with_pages_ = with_pages;
  Result result = LoadDescription(u"MainWindow");
  if (result != kOk || !with_pages) return result;
  transfer_page_ = CreateFileTransferPage();
  if (transfer_page_ == nullptr) return kOutOfMemory;
  result = main_page_.Load();
  if (result == kOk) result = transfer_page_->LoadDescription(u"FileTransferPage");
  if (result == kOk) result = success_page_.Load();
  if (result == kOk) result = failure_page_.Load();
  if (result == kOk) result = canceled_page_.Load();
  if (result != kOk) return result;
  Page* pages[] = {&main_page_, transfer_page_, &success_page_, &failure_page_, &canceled_page_};
  // The pages join the window only when they are shown: a child in the
  // tree is created with the window, and creating the transfer page starts
  // the installation.
  for (Page* page : pages) page->SetOwnedByParent(false);
  return kOk;
}

Result SetupWindow::OnCreated() noexcept {
  const Result result = MainWindow::OnCreated();
  if (!with_pages_) return result;
  const InstallationSettings& settings = InstallationSettings::Get();
  SetTitle(Format(LocalizedString(u"#InstallTitle").Text(), FormatArg(settings.name)));
  if (Window* header = FindChild(WindowIdOf(u"Header"))) {
    if (auto* text =
            static_cast<TextControl*>(header->FindChild(WindowIdOf(u"Text"), kWindowClassStatic))) {
      text->SetText(Format(LocalizedString(u"#InstallLabel").Text(), FormatArg(settings.FullTitle())));
    }
  }
  SwitchPage(&main_page_);
  if (UsageTracker* tracker = UsageTracker::Instance()) {
    String version = settings.version;
    if (!settings.tag.IsEmpty()) version += u" " + settings.tag;
    tracker->SetApplicationVersion(version.Text());
    tracker->SetScreenName(u"Install");
  }
  return result;
}

bool SetupWindow::SwitchPage(Page* page) noexcept {
  if (current_ != nullptr && current_->Exists()) {
    current_->EndDialog(kCancelId);
    if (current_->Exists()) return false;
  }
  current_ = page;
  if (page == nullptr) return true;
  if (page->Parent() != this) page->Attach(this);
  if (!page->Exists()) page->Create(nullptr);
  page->Show(true);
  FocusWindow(*page);
  return true;
}

bool SetupWindow::HandleMessage(WindowMessage& message) noexcept {
  if (message.handle == Handle()) {
    if (message.message == kSetupActionMessage) {
      OnSetupAction(static_cast<SetupAction>(message.wparam));
      message.result = 0;
      return true;
    }
    if (message.message == kSetFocusMessage && current_ != nullptr && current_->Exists()) {
      FocusWindow(*current_);
      message.result = 0;
      return true;
    }
  }
  return MainWindow::HandleMessage(message);
}

void SetupWindow::OnSetupAction(SetupAction action) noexcept {
  switch (action) {
    case SetupAction::ShowCanceled:
      ShowOutcome(&canceled_page_, u"Canceled");
      break;
    case SetupAction::ShowFailure:
      ShowOutcome(&failure_page_, u"Failure");
      break;
    case SetupAction::ShowSuccess:
      ShowOutcome(&success_page_, u"Success");
      break;
    case SetupAction::QuitSetup:
      Quit();
      break;
    case SetupAction::RunProduct:
      RunProduct();
      break;
    case SetupAction::StartTransfer:
      if (transfer_page_ != nullptr) SwitchPage(transfer_page_);
      break;
    default:
      // The other actions are the main page's; anything else is noise.
      break;
  }
}

void SetupWindow::ShowOutcome(Page* page, const char16_t* label) noexcept {
  if (UsageTracker* tracker = UsageTracker::Instance()) tracker->ReportEvent(u"Install", label);
  SwitchPage(page);
}

void SetupWindow::RunProduct() noexcept {
  if (CommandLine::Get().HasSwitch(u"LaunchedAsAdministrator")) {
    // The non-elevated parent starts it, so that the product does not run
    // with the installer's rights. The code stands however the window ends.
    ApplicationCore::Get().RequestQuit(kRunProductExitCode, true);
  } else {
    StartProduct();
  }
  Quit();
}

void SetupWindow::Quit() noexcept {
  Close();
}

}  // namespace vorn
