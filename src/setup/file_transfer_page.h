// The page that runs the installation proper: a worker thread removes a
// previous installation, copies the file list into the install folder,
// undoes the copy on failure or cancellation or records the installation,
// and posts the page to show next to the main window. Meanwhile the page
// shows a progress bar, the percentage done and the time remaining, and a
// close request asks the user before it cancels.
#pragma once

#include <cstdint>

#include "foundation/thread_object.h"
#include "setup/file_transfer.h"
#include "setup/setup_action.h"
#include "setup/time_remaining_estimator.h"
#include "ui/page.h"

namespace vorn {

class InstallationSettings;
class PackageFileSystem;
class ProgressBar;
class TextControl;

// The worker posts this to the page's own window when there is progress to
// show; the page shows it on the main thread, which owns the controls.
constexpr uint32_t kTransferProgressMessage = 0x8101;

class FileTransferPage final : public Page, private TransferObserver, private CancelConfirmation {
 public:
  // Copies `settings`' files out of `files`. The localized texts are looked
  // up from the toolkit's resources each time the page is shown.
  FileTransferPage(InstallationSettings& settings, PackageFileSystem& files) noexcept;
  ~FileTransferPage() override;

  FileTransfer& Transfer() noexcept { return transfer_; }
  // The worker's result once it has ended.
  Result WorkerResult() const noexcept { return worker_.ThreadResult(); }
  bool WorkerRunning() const noexcept { return worker_.IsRunning(); }

  bool MayClose() noexcept override;
  bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept override;
  void OnCancel() noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;

 protected:
  Result OnCreated() noexcept override;
  void OnDestroying() noexcept override;

 private:
  class Worker final : public ThreadObject {
   public:
    explicit Worker(FileTransfer& transfer) noexcept : transfer_(transfer) {}
    ~Worker() override { Stop(true); }

   protected:
    Result Run() noexcept override { return transfer_.RunJob(); }

   private:
    FileTransfer& transfer_;
  };

  // What the worker leaves for the main thread to show, under the
  // transfer's lock.
  struct PendingProgress {
    bool restart = false;   // a new copy: set the bar's scale first
    bool reported = false;  // bytes were copied since the start
    bool notice_posted = false;
    uint64_t total = 0;
    uint64_t bytes_done = 0;
    String time_text;
  };

  void LookUpTexts() noexcept;
  void TransferStarted(uint64_t total) noexcept override;
  void TransferProgressed(uint64_t bytes_done) noexcept override;
  bool ConfirmCancel(const String& name) noexcept override;
  void PostProgressNotice() noexcept;
  void ShowProgress() noexcept;
  void PostToMainWindow(SetupAction action) noexcept;

  FileTransfer transfer_;
  TimeRemainingEstimator estimator_;
  String progression_template_;
  String time_prefix_;
  PendingProgress pending_;
  void* page_handle_ = nullptr;  // under the lock: where notices go
  void* main_window_handle_ = nullptr;
  ProgressBar* progress_bar_ = nullptr;
  TextControl* progression_label_ = nullptr;
  TextControl* progression_time_ = nullptr;
  String shown_time_text_;
  Worker worker_{transfer_};
};

// A new, not yet described transfer page for the process's settings and
// package (the caller owns it and loads the description "FileTransferPage"
// into it); null when out of memory.
Page* CreateFileTransferPage() noexcept;
Page* CreateFileTransferPage(InstallationSettings& settings, PackageFileSystem& files) noexcept;

// Platform halves: posting a message to a window (false when it is gone),
// and the top-level window a window lies in.
bool PostPageMessage(void* window_handle, uint32_t message) noexcept;
void* TopLevelWindowOf(void* window_handle) noexcept;

}  // namespace vorn
