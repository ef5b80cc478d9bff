#include "setup/file_transfer.h"

#include "application/uninstallation.h"

#include <new>
#ifdef VORN_TEST_TRANSFER_FAULT
#include <cstdlib>
#endif

#include "foundation/folder.h"
#include "foundation/path.h"
#include "package/file_stream.h"
#include "package/package_file_system.h"
#include "setup/installation_settings.h"
#include "setup/setup_action.h"
#include "setup/system_registration.h"

namespace vorn {

namespace {

#ifdef VORN_TEST_TRANSFER_FAULT
// Test builds only (a separate copy of the installer, never the shipped
// one): a processor fault in the middle of the copy when the environment
// asks for it, so that the crash report and the repair by a rerun can be
// tried on a real fault.
void FaultWhenAsked() noexcept {
  if (std::getenv("VORN_TEST_TRANSFER_FAULT") == nullptr) return;
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
}
#endif

// A segment of dots and blanks alone: "..", and also what Windows trims to
// it (".. ", "...").
bool IsDotSegment(const char16_t* begin, const char16_t* end) noexcept {
  if (begin == end) return false;
  for (const char16_t* unit = begin; unit != end; ++unit) {
    if (*unit != u'.' && *unit != u' ') return false;
  }
  // A lone "." stays where it is; it is harmless but has no place in a list.
  return true;
}

// `folder` (with its trailing separator) or the deepest of its parents that
// exists; empty when not even the drive does.
}  // namespace

bool IsContainedRelativePath(const String& relative) noexcept {
  if (relative.IsEmpty() || !path::IsRelative(relative)) return false;
  const char16_t* text = relative.Text();
  const char16_t* segment = text;
  for (uint32_t i = 0; i <= relative.Length(); ++i) {
    const char16_t unit = text[i];
    // A colon anywhere names a drive ("a/C:x") or a stream of a file.
    if (unit == u':') return false;
    if (unit == 0 || path::IsSeparator(unit)) {
      if (IsDotSegment(segment, text + i)) return false;
      segment = text + i + 1;
    }
  }
  return true;
}

FileTransfer::FileTransfer(InstallationSettings& settings, PackageFileSystem& files) noexcept
    : settings_(settings), files_(files) {}

FileTransfer::~FileTransfer() {
  delete[] buffer_;
}

TransferState FileTransfer::State() noexcept {
  LockGuard guard(lock_);
  return state_;
}

void FileTransfer::SetState(TransferState state) noexcept {
  LockGuard guard(lock_);
  state_ = state;
}

Result FileTransfer::RunJob() noexcept {
  // A list that would write outside the install folder is refused before
  // anything is touched, the previous installation included.
  Result result = CheckFileList();
  if (result == kOk) {
    if (RemovePreviousInstallation(settings_) && observer_ != nullptr)
      observer_->PreviousInstallationRemoved();
    result = CopyFileList();
    if (result != kOk) {
      Undo();
    } else {
      result = RegisterInstallation(settings_);
      if (observer_ != nullptr) observer_->InstallationRegistered(result);
    }
  }
  LockGuard guard(lock_);
  const SetupAction outcome = result == kCancelled ? SetupAction::ShowCanceled
                              : result != kOk      ? SetupAction::ShowFailure
                                                   : SetupAction::ShowSuccess;
  PostSetupAction(outcome_window_, outcome);
  state_ = TransferState::kClosed;
  return result;
}

Result FileTransfer::CheckFileList() const noexcept {
  for (uint32_t i = 0; i < settings_.files.Count(); ++i) {
    if (!IsContainedRelativePath(settings_.files[i].relative_path)) return kInvalidContent;
  }
  return kOk;
}

Result FileTransfer::CopyFileList() noexcept {
  {
    LockGuard guard(lock_);
    if (state_ != TransferState::kIdle) return kCancelled;
    state_ = TransferState::kRunning;
  }
  existing_folder_ = Folder::NearestExisting(settings_.InstallFolderPath());
  delete[] buffer_;
  buffer_ = new (std::nothrow) uint8_t[kBufferSize];
  if (buffer_ == nullptr) return kOutOfMemory;

  total_ = settings_.total_size;
  bytes_done_ = 0;
  last_reported_ = 0;
  if (observer_ != nullptr) observer_->TransferStarted(total_);

  for (uint32_t i = 0; i < settings_.files.Count(); ++i) {
#ifdef VORN_TEST_TRANSFER_FAULT
    if (i == 1) FaultWhenAsked();
#endif
    const Result result = CopyEntry(i);
    if (result != kOk) return result;
  }
  return FinishCopy();
}

Result FileTransfer::CopyEntry(uint32_t index) noexcept {
  FileEntry& entry = settings_.files[index];
  Stream* source = nullptr;
  const String source_path = settings_.source_folder + entry.relative_path;
  Result result = files_.Open(source_path.Text(), source);
  if (result != kOk) return result;
  // The archive's length, not the list's: the list may be out of date.
  uint64_t left = source->Size();

  const String target_path = settings_.InstallFolderPath() + entry.relative_path;
  FileStream target;
  result = target.OpenForWriting(target_path.Text());
  // A missing folder: Windows says "path not found", POSIX "not found".
  const String target_folder = path::FolderPart(target_path);
  if (result == kInvalidPath || (result == kNotFound && !Folder::Exists(target_folder.Text()))) {
    result = Folder::Create(target_folder.Text());
    if (result == kOk) result = target.OpenForWriting(target_path.Text());
  }
  if (result != kOk) {
    delete source;
    return result;
  }
  entry.installed = true;

  while (left > 0) {
    const uint32_t chunk = left < kBufferSize ? static_cast<uint32_t>(left) : kBufferSize;
    result = source->Read(buffer_, chunk);
    if (result == kOk) result = target.Write(buffer_, chunk);
    if (result != kOk) break;
    left -= chunk;
    bytes_done_ += chunk;
    ReportProgress();
    bool cancelled = false;
    {
      LockGuard guard(lock_);
      if (state_ == TransferState::kCancelRequested) {
        state_ = TransferState::kStopped;
        cancelled = true;
      }
    }
    if (cancelled) {
      delete source;
      target.Flush(0);
      target.Close();
      return kCancelled;
    }
  }
  delete source;
  if (result != kOk) return result;
  // The list's date where it gives one; a file whose date cannot be set is
  // still a good copy.
  if (!entry.date.IsNoDate()) target.SetModificationTime(entry.date);
  return target.Close();
}

void FileTransfer::ReportProgress() noexcept {
  if (bytes_done_ == last_reported_) return;
  last_reported_ = bytes_done_;
  if (observer_ != nullptr) observer_->TransferProgressed(bytes_done_);
}

Result FileTransfer::FinishCopy() noexcept {
  lock_.Lock();
  // An open confirmation holds the end: its answer decides the outcome.
  while (state_ == TransferState::kConfirmingCancel) {
    lock_.Unlock();
    YieldToOtherThreads();
    lock_.Lock();
  }
  Result result = kCancelled;
  if (state_ == TransferState::kRunning) {
    state_ = TransferState::kFinished;
    result = kOk;
  } else {
    state_ = TransferState::kStopped;
  }
  lock_.Unlock();
  return result;
}

void FileTransfer::Undo() noexcept {
  const String folder = settings_.InstallFolderPath();
  const uint32_t count = settings_.files.Count();
  for (uint32_t i = 0; i < count; ++i) {
    const FileEntry& entry = settings_.files[i];
    if (entry.installed) Folder::RemoveFile(String(folder + entry.relative_path).Text());
  }
  // The product's own sub-folders, deepest first, as far as they are empty:
  // otherwise an empty "bin\" would keep the install folder alive.
  for (uint32_t i = count; i-- > 0;) {
    const FileEntry& entry = settings_.files[i];
    if (!entry.installed) continue;
    String part = path::FolderPart(entry.relative_path);
    while (!part.IsEmpty()) {
      if (Folder::Remove(String(folder + part).Text(), Folder::kRemoveOnlyFolder) != kOk &&
          Folder::Exists(String(folder + part).Text())) {
        break;
      }
      part = path::FolderPart(part.Left(part.Length() - 1));
    }
  }
  Folder::Remove(folder.Text(), Folder::kRemoveOnlyFolder);
  const String company_folder = CompanyFolderOf(folder, settings_.company);
  if (!company_folder.IsEmpty()) Folder::Remove(company_folder.Text(), Folder::kRemoveOnlyFolder);
  // A failed copy into "X:\New\Product" must not leave an empty "X:\New"
  // behind: the folders the copy made above the install folder go too, as
  // far as they are empty, never one that was there before.
  if (existing_folder_.IsEmpty()) return;
  String part = path::FolderPart(folder.Left(folder.Length() - 1));
  while (part.Length() > existing_folder_.Length() &&
         (Folder::Remove(part.Text(), Folder::kRemoveOnlyFolder) == kOk ||
          !Folder::Exists(part.Text()))) {
    part = path::FolderPart(part.Left(part.Length() - 1));
  }
}

bool FileTransfer::QueryClose(CancelConfirmation& confirmation) noexcept {
  lock_.Lock();
  switch (state_) {
    case TransferState::kIdle:
      state_ = TransferState::kClosed;
      lock_.Unlock();
      return true;
    case TransferState::kClosed:
      lock_.Unlock();
      return true;
    case TransferState::kRunning: {
      state_ = TransferState::kConfirmingCancel;
      lock_.Unlock();
      const bool cancel = confirmation.ConfirmCancel(settings_.name);
      lock_.Lock();
      // A failure does not wait for the answer: when the worker has ended
      // meanwhile, its state stands.
      if (state_ == TransferState::kConfirmingCancel) {
        state_ = cancel ? TransferState::kCancelRequested : TransferState::kRunning;
      }
      lock_.Unlock();
      return false;
    }
    default:
      lock_.Unlock();
      return false;
  }
}

void RemoveProgramAndData(const String& program, const String& install_folder) noexcept {
  Folder::RemoveFile(program.Text());
  const String folder = path::FolderPart(program);
  if (folder.IsEmpty()) return;
  // The product's large data archives are not in its list of files; they
  // go with the program.
  Folder listing(folder.Text());
  while (listing.Next() == kOk) {
    if (listing.EntryIsFolder()) continue;
    String name;
    listing.EntryName(name);
    const char16_t* text = name.Text();
    int32_t dot = -1;
    for (uint32_t i = 0; i < name.Length(); ++i) {
      if (text[i] == u'.') dot = static_cast<int32_t>(i);
    }
    if (dot < 0 || !(name.Tail(static_cast<uint32_t>(dot)) == u".dat")) continue;
    String entry_path;
    listing.EntryPath(entry_path);
    Folder::RemoveFile(entry_path.Text());
  }
  listing.Close();
  if (!path::SameFolder(folder, path::WithTrailingSeparator(install_folder))) {
    Folder::RemoveEmptyTree(folder.Text());
  }
}

}  // namespace vorn
