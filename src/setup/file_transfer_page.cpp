#include "setup/file_transfer_page.h"

#include <new>

#include "application/user_prompt.h"
#include "foundation/format.h"
#include "package/package_file_system.h"
#include "resources/localized_text.h"
#include "setup/installation_settings.h"
#include "setup/setup_action.h"
#include "ui/installer_controls.h"
#include "ui/message_box.h"
#include "ui/window_services.h"

namespace vorn {

namespace {

String Localized(const char16_t* key) noexcept {
  String text;
  LocalizeText(UiResources(), key, text);
  return text;
}

}  // namespace

FileTransferPage::FileTransferPage(InstallationSettings& settings,
                                   PackageFileSystem& files) noexcept
    : transfer_(settings, files) {
  transfer_.SetObserver(this);
}

void FileTransferPage::LookUpTexts() noexcept {
  TimeRemainingTexts texts;
  texts.about_x_minutes = Localized(u"#TimeRemainingAboutXMinutes");
  texts.about_a_minute = Localized(u"#TimeRemainingAboutAMinute");
  texts.less_than_minute = Localized(u"#TimeRemainingLessThanMinute");
  texts.about_10_seconds = Localized(u"#TimeRemainingAbout10Seconds");
  texts.about_5_seconds = Localized(u"#TimeRemainingAbout5Seconds");
  texts.zero_seconds = Localized(u"#TimeRemaining0Second");
  estimator_.SetTexts(texts);
  progression_template_ = Localized(u"#ProgressionText");
  time_prefix_ = Localized(u"#TimeRemaining") + u" ";
}

FileTransferPage::~FileTransferPage() {
  // The worker reports to this object: it must be gone before the members.
  worker_.Stop(true);
}

Result FileTransferPage::OnCreated() noexcept {
  const Result result = Page::OnCreated();
  progress_bar_ =
      static_cast<ProgressBar*>(FindChild(WindowIdOf(u"ProgressBar"), kWindowClassProgressBar));
  progression_label_ =
      static_cast<TextControl*>(FindChild(WindowIdOf(u"ProgressionLabel"), kWindowClassStatic));
  progression_time_ =
      static_cast<TextControl*>(FindChild(WindowIdOf(u"ProgressionTime"), kWindowClassStatic));
  // Looked up here, on the main thread, before the worker starts: the
  // resources belong to the main thread, and by the time a page is shown
  // every string file is loaded. The worker only formats with them.
  LookUpTexts();
  main_window_handle_ = TopLevelWindowOf(Handle());
  {
    LockGuard guard(transfer_.Lock());
    page_handle_ = Handle();
    pending_ = PendingProgress();
  }
  shown_time_text_ = String();
  transfer_.SetOutcomeWindow(main_window_handle_);
  // Without a thread nothing is copied: the page stays idle and can be
  // closed.
  worker_.Start();
  return result;
}

void FileTransferPage::OnDestroying() noexcept {
  {
    LockGuard guard(transfer_.Lock());
    page_handle_ = nullptr;
  }
  // The job ends on its own: it only looks at the transfer state.
  worker_.Stop(true);
  progress_bar_ = nullptr;
  progression_label_ = nullptr;
  progression_time_ = nullptr;
  Page::OnDestroying();
}

bool FileTransferPage::MayClose() noexcept {
  return transfer_.QueryClose(*this);
}

bool FileTransferPage::ConfirmCancel(const String& name) noexcept {
  // A program (or a test) that answers the framework's questions itself
  // answers this one too; otherwise the described message box asks.
  const PromptAnswer answer = ShowUserMessage(u"CancelConfirmation", name);
  if (answer == PromptAnswer::kNotShown) {
    return ShowMessageBox(u"CancelConfirmation", name) == kMessageBoxYes;
  }
  return answer == PromptAnswer::kYes;
}

bool FileTransferPage::OnCommand(WindowId command, uint32_t code, Window* sender) noexcept {
  if (command == WindowIdOf(u"CancelCmd") && code < 2) {
    // The main window then asks this page whether it may close.
    PostToMainWindow(SetupAction::QuitSetup);
    return true;
  }
  return Page::OnCommand(command, code, sender);
}

void FileTransferPage::OnCancel() noexcept {
  PostToMainWindow(SetupAction::QuitSetup);
}

void FileTransferPage::PostToMainWindow(SetupAction action) noexcept {
  PostSetupAction(main_window_handle_, action);
}

bool FileTransferPage::HandleMessage(WindowMessage& message) noexcept {
  if (message.message == kTransferProgressMessage) {
    ShowProgress();
    message.result = 0;
    return true;
  }
  return Page::HandleMessage(message);
}

// ---- Worker thread ----

void FileTransferPage::TransferStarted(uint64_t total) noexcept {
  estimator_.Start(TimeRemainingClockSeconds(), total);
  {
    LockGuard guard(transfer_.Lock());
    pending_.restart = true;
    pending_.reported = false;
    pending_.total = total;
    pending_.bytes_done = 0;
    pending_.time_text = estimator_.Text();
  }
  PostProgressNotice();
}

void FileTransferPage::TransferProgressed(uint64_t bytes_done) noexcept {
  estimator_.Update(TimeRemainingClockSeconds(), bytes_done);
  {
    LockGuard guard(transfer_.Lock());
    pending_.reported = true;
    pending_.bytes_done = bytes_done;
    if (!(pending_.time_text == estimator_.Text())) pending_.time_text = estimator_.Text();
  }
  PostProgressNotice();
}

void FileTransferPage::PostProgressNotice() noexcept {
  // One notice at a time: a main thread that falls behind shows the latest
  // figures once instead of every chunk in turn.
  void* handle = nullptr;
  {
    LockGuard guard(transfer_.Lock());
    if (pending_.notice_posted || page_handle_ == nullptr) return;
    pending_.notice_posted = true;
    handle = page_handle_;
  }
  if (!PostPageMessage(handle, kTransferProgressMessage)) {
    LockGuard guard(transfer_.Lock());
    pending_.notice_posted = false;
  }
}

// ---- Main thread ----

void FileTransferPage::ShowProgress() noexcept {
  PendingProgress shown;
  {
    LockGuard guard(transfer_.Lock());
    shown = pending_;
    pending_.restart = false;
    pending_.notice_posted = false;
  }
  if (progress_bar_ != nullptr) {
    if (shown.restart) {
      // The bar counts bytes: a total of 0 makes a factor of 0, which
      // shows nothing.
      progress_bar_->Scale().SetFactor(static_cast<double>(shown.total));
      progress_bar_->Scale().SetCompleted(0);
      progress_bar_->SetProgress(0);
    }
    if (shown.reported) progress_bar_->SetProgress(static_cast<double>(shown.bytes_done));
  }
  if (progression_time_ != nullptr && !(shown.time_text == shown_time_text_)) {
    shown_time_text_ = shown.time_text;
    progression_time_->SetText(time_prefix_ + shown.time_text);
  }
  if (progression_label_ != nullptr && shown.reported && shown.total != 0) {
    const float percent =
        static_cast<float>(shown.bytes_done) * 100.0f / static_cast<float>(shown.total);
    progression_label_->SetText(Format(progression_template_.Text(), FormatArg(percent)));
  }
}

Page* CreateFileTransferPage(InstallationSettings& settings, PackageFileSystem& files) noexcept {
  return new (std::nothrow) FileTransferPage(settings, files);
}

Page* CreateFileTransferPage() noexcept {
  return CreateFileTransferPage(InstallationSettings::Get(), PackageFileSystem::Instance());
}

}  // namespace vorn
