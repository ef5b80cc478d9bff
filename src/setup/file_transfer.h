// The installation proper, as the transfer page's worker runs it: remove a
// previous installation, copy every file of the list from the package into
// the install folder in 4 MiB chunks, then undo the copy (failure or
// cancellation) or record the installation, and post the page to show next
// to the main window. The main thread meets the worker only through the
// transfer state, under the transfer's lock.
#pragma once

#include <cstdint>

#include "foundation/lock_object.h"
#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class InstallationSettings;
class PackageFileSystem;

enum class TransferState : uint32_t {
  kIdle = 0,              // the copy has not started
  kRunning = 1,           // the copy runs
  kConfirmingCancel = 2,  // the cancel confirmation is on screen; the copy goes on
  kCancelRequested = 3,   // the user confirmed the cancellation
  kStopped = 4,           // the copy ended because of a cancellation
  kFinished = 5,          // every file was copied
  kClosed = 6,            // the worker has ended, or the page closed before the copy
};

// What the copy reports, on the worker thread.
class TransferObserver {
 public:
  // The copy of `total` bytes (the list's sizes) begins.
  virtual void TransferStarted(uint64_t total) noexcept = 0;
  // `bytes_done` changed (once per chunk).
  virtual void TransferProgressed(uint64_t bytes_done) noexcept = 0;
  // The steps around the copy, for a caller that keeps a record of them
  // (the page shows only the copy).
  virtual void PreviousInstallationRemoved() noexcept {}
  virtual void InstallationRegistered(Result) noexcept {}

 protected:
  ~TransferObserver() = default;
};

// Asks the user whether to cancel the installation of the product named
// `name`; true for yes. Called on the main thread with no lock held.
class CancelConfirmation {
 public:
  virtual bool ConfirmCancel(const String& name) noexcept = 0;

 protected:
  ~CancelConfirmation() = default;
};

class FileTransfer {
 public:
  // The copy buffer's size, and so the largest chunk.
  static constexpr uint32_t kBufferSize = 4194304;

  FileTransfer(InstallationSettings& settings, PackageFileSystem& files) noexcept;
  ~FileTransfer();
  FileTransfer(const FileTransfer&) = delete;
  FileTransfer& operator=(const FileTransfer&) = delete;

  // Set before the worker starts; both may stay null.
  void SetObserver(TransferObserver* observer) noexcept { observer_ = observer; }
  // The window that receives the outcome as a setup action.
  void SetOutcomeWindow(void* handle) noexcept { outcome_window_ = handle; }

  // The whole job: 0 after a recorded installation, 8 after a cancellation,
  // else the failure's code. Ends with the outcome posted and the state
  // Closed.
  Result RunJob() noexcept;

  // Every entry's path is checked before anything is touched: 33 when one
  // would leave the install folder (absolute, with a drive, a ".." segment).
  Result CheckFileList() const noexcept;
  // Copies the list: 8 when the state is not Idle or after a cancellation,
  // 12 without memory for the buffer, else the first failure's code.
  Result CopyFileList() noexcept;
  // Deletes every file the copy created, then the folders of the product
  // that are left empty, the install folder and the company's folder, and
  // the empty folders above the install folder that the copy made.
  void Undo() noexcept;

  // The main thread's side of a close request: allowed before the copy
  // starts and once the worker has ended; while the copy runs the user is
  // asked (the copy goes on meanwhile) and the close is refused either way.
  bool QueryClose(CancelConfirmation& confirmation) noexcept;

  TransferState State() noexcept;
  void SetState(TransferState state) noexcept;
  LockObject& Lock() noexcept { return lock_; }
  uint64_t BytesDone() const noexcept { return bytes_done_; }
  uint64_t TotalBytes() const noexcept { return total_; }

 private:
  Result CopyEntry(uint32_t index) noexcept;
  void ReportProgress() noexcept;
  // Under the lock: the state at the end of the list, after waiting for an
  // open confirmation to be answered.
  Result FinishCopy() noexcept;

  InstallationSettings& settings_;
  PackageFileSystem& files_;
  TransferObserver* observer_ = nullptr;
  void* outcome_window_ = nullptr;
  LockObject lock_;
  TransferState state_ = TransferState::kIdle;
  uint8_t* buffer_ = nullptr;
  uint64_t total_ = 0;
  uint64_t bytes_done_ = 0;
  uint64_t last_reported_ = 0;
  // The install folder or its deepest parent that existed before the copy
  // (with its trailing separator): the undo removes nothing above it.
  String existing_folder_;
};

// Whether a file-list path stays inside the folder it is appended to:
// relative, no drive or stream colon, no segment of dots alone (Windows
// reads ".. " or "..." as a parent too).
bool IsContainedRelativePath(const String& path) noexcept;

// Removes a previous installation of the product, if its uninstall entry
// names a program: runs it with "/Quiet /Update" and waits, deletes it and
// the ".dat" files beside it, and, unless its folder is the new install
// folder, the folder's empty tree. Nothing to do where there is no registry.
// True when there was one.
bool RemovePreviousInstallation(const InstallationSettings& settings) noexcept;

// The part of it after the program's run: `program` deleted, the ".dat"
// files of its folder deleted, the folder's empty tree removed unless it is
// `install_folder`.
void RemoveProgramAndData(const String& program, const String& install_folder) noexcept;

// Gives the processor to another thread for a moment.
void YieldToOtherThreads() noexcept;

}  // namespace vorn
