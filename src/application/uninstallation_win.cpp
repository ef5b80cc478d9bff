// The Windows headers depend on their order.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "application/app_paths.h"
#include "application/application_core.h"
#include "application/file_type_registration.h"
#include "application/uninstallation.h"
#include "application/usage_reporter.h"
#include "application/user_prompt.h"
#include "foundation/folder.h"
#include "foundation/format.h"
#include "foundation/lock_object.h"
#include "foundation/path.h"
#include "foundation/registry_key.h"
#include "foundation/special_folder.h"
#include "package/file_stream.h"
#include "package/text_stream.h"

namespace vorn {

namespace {

// The most shortcuts one uninstallation removes.
constexpr int32_t kMaxShortcuts = 256;

const wchar_t* Wide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}

// The short (8.3) form of an existing path; empty when the system has none.
String ShortPath(const String& long_path) noexcept {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetShortPathNameW(Wide(long_path.Text()), buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return String();
  return String(reinterpret_cast<const char16_t*>(buffer), length);
}

// "X:\..." or "\\server\...".
bool IsAbsoluteFolder(const String& folder) noexcept {
  if (folder.Length() >= 3 && folder[1] == u':' && path::IsSeparator(folder[2])) return true;
  return folder.Length() >= 3 && path::IsSeparator(folder[0]) && path::IsSeparator(folder[1]);
}

bool SamePath(const String& a, const String& b) noexcept {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Wide(a.Text()), -1, Wide(b.Text()),
                        -1) == CSTR_EQUAL;
}

class Uninstaller {
 public:
  explicit Uninstaller(bool update_mode) noexcept
      : core_(ApplicationCore::Get()),
        description_(core_.Description()),
        update_mode_(update_mode),
        quiet_(core_.Quiet()) {}

  Result Run() noexcept;

 private:
  void Tell(const char16_t* message, const String& argument) noexcept {
    if (!quiet_) ShowUserMessage(message, argument);
  }
  Result End(Result result, const char16_t* label) noexcept {
    if (UsageReporter* reporter = core_.Reporter()) {
      reporter->ReportUsageEvent(u"Uninstall", label);
    }
    return result;
  }
  void RemoveShortcuts(RegistryKey& product) noexcept;
  void RemoveProgramGroup(RegistryKey& product) noexcept;
  void RemoveInstalledFiles(RegistryKey& product, const String& install_folder) noexcept;

  ApplicationCore& core_;
  const ApplicationDescription& description_;
  bool update_mode_;
  bool quiet_;
};

Result Uninstaller::Run() noexcept {
  if (UsageReporter* reporter = core_.Reporter()) {
    reporter->SetScreenName(update_mode_ ? u"Update" : u"Uninstall");
    reporter->StartScreenView();
  }
  const String title = UninstallTitle(description_);
  const String entry = UninstallEntryName(description_.uuid);
  RegistryKey product;
  const String product_key = String(kUninstallRoot) + u"\\" + entry;
  if (product.SetRoot(RegistryKey::kLocalMachine, product_key.Text()) != kOk ||
      product.Open(false) != kOk) {
    Tell(u"NotInstalled", title);
    return End(kNotOpen, u"Failure");
  }
  // The product holds this marker while it runs. Only an interactive
  // uninstallation refuses a running product: a newer installer removes the
  // old installation whether or not it is still open.
  LockObject marker;
  marker.CreateNamed(String(u"VornLib." + entry).Text());
  if (!update_mode_ && marker.AlreadyExisted()) {
    Tell(u"CloseBeforeUninstall", description_.name);
    return End(kAlreadyExists, u"Failure");
  }
  if (!quiet_) {
    const PromptAnswer answer = ShowUserMessage(u"UninstallConfirmation", title);
    // Without a prompt the program cannot ask, and runs as a quiet one would.
    if (answer != PromptAnswer::kYes && answer != PromptAnswer::kNotShown) {
      return End(kCancelled, u"Canceled");
    }
  }

  FileTypeOwner owner = ProcessFileTypeOwner();
  RegisterFileTypes(owner, false, false);
  UnregisterAppPaths(core_.ProgramPath());
  RemoveShortcuts(product);
  RemoveProgramGroup(product);

  String install_folder;
  if (product.ReadText(u"VornLib.InstallFolder", install_folder) == kOk) install_folder += u'\\';
  // An empty or relative folder would make the listed names relative to
  // whatever the current folder is.
  if (!install_folder.IsEmpty() && IsAbsoluteFolder(install_folder)) {
    RemoveInstalledFiles(product, install_folder);
  }
  // Written before the entry goes, so that a batch can still be made from
  // what the entry recorded; started only at the very end.
  String batch_path;
  if (!update_mode_) {
    WriteUninstallBatch(install_folder, core_.ProgramPath(), description_.name,
                        description_.company, batch_path);
  }
  product.Close();
  RegistryKey uninstall_root;
  if (uninstall_root.SetRoot(RegistryKey::kLocalMachine, kUninstallRoot) == kOk) {
    uninstall_root.DeleteSubkey(entry.Text());
  }
  Tell(u"UninstallSucceed", title);
  if (!update_mode_ && !batch_path.IsEmpty()) {
    ShellExecuteW(nullptr, L"open", Wide(batch_path.Text()), nullptr, nullptr, SW_HIDE);
  }
  return End(kOk, u"Success");
}

void Uninstaller::RemoveShortcuts(RegistryKey& product) noexcept {
  RegistryKey list;
  if (list.SetChildOf(product, u"ShortcutsList") != kOk) return;
  for (int32_t i = 0; i < kMaxShortcuts; ++i) {
    String shortcut;
    if (list.ReadText(IntegerText(i).Text(), shortcut) != kOk) break;
    // The list is only ever written with shortcut files; anything else in
    // it was not put there by the installer.
    if (IsShortcutFile(shortcut)) Folder::RemoveFile(shortcut.Text());
  }
}

void Uninstaller::RemoveProgramGroup(RegistryKey& product) noexcept {
  String group;
  if (product.ReadText(u"VornLib.ProgramGroup", group) != kOk || group.IsEmpty()) return;
  // The group is deleted with all its content: it must stay inside the
  // Programs menu.
  if (!IsInstallRelativePath(group)) return;
  String programs;
  if (GetSpecialFolder(kProgramsMenuFolder, programs) != kOk || programs.IsEmpty()) return;
  programs = path::WithTrailingSeparator(programs);
  Folder::Remove(path::WithTrailingSeparator(String(programs + group)).Text(),
                 Folder::kRemoveWithShell);
  const String company_prefix = description_.company + u"\\";
  if (!description_.company.IsEmpty() && group.Length() >= company_prefix.Length() &&
      group.Left(company_prefix.Length()) == company_prefix) {
    Folder::RemoveEmptyTree(String(programs + company_prefix).Text());
  }
}

void Uninstaller::RemoveInstalledFiles(RegistryKey& product,
                                       const String& install_folder) noexcept {
  RegistryKey list;
  if (list.SetChildOf(product, u"FilesList") == kOk) {
    for (int32_t n = 0;; ++n) {
      String file;
      if (list.ReadText(IntegerText(n).Text(), file) != kOk) break;
      // Only what lies inside the install folder; the running program's
      // own file is left to the batch (or to the newer installer).
      if (!IsInstallRelativePath(file)) continue;
      const String full_path = install_folder + file;
      if (SamePath(full_path, core_.ProgramPath())) continue;
      Folder::RemoveFile(full_path.Text());
    }
  }
  if (IsRemovableInstallFolder(install_folder)) Folder::RemoveEmptyTree(install_folder.Text());
}

}  // namespace

Result Uninstall(bool update_mode) noexcept {
  return Uninstaller(update_mode).Run();
}

Result WriteUninstallBatch(const String& install_folder, const String& program_path,
                           const String& name, const String& company,
                           String& batch_path) noexcept {
  batch_path = String();
  String temporary;
  Result result = GetSpecialFolder(kNewTemporaryFile, temporary);
  if (result != kOk) return result;
  String path = temporary + u" " + name + u" Uninstall.cmd";
  Folder::RemoveFile(temporary.Text());
  SetFileAttributesW(Wide(path.Text()), FILE_ATTRIBUTE_NORMAL);
  FileStream file;
  // Created empty first: a file has a short form only once it exists.
  result = file.OpenForWriting(path.Text());
  if (result != kOk) return result;
  file.Close();
  String folder;
  if (IsRemovableInstallFolder(install_folder)) {
    folder = ShortPath(install_folder);
    if (!IsRemovableInstallFolder(folder)) folder = String();
  }
  String company_folder;
  if (!folder.IsEmpty()) {
    const String long_form = CompanyFolderOf(install_folder, company);
    // Below the drive's root and above the install folder, never the drive.
    if (IsRemovableInstallFolder(long_form) && long_form.Length() < install_folder.Length()) {
      company_folder = ShortPath(long_form);
      if (!IsRemovableInstallFolder(company_folder)) company_folder = String();
    }
  }
  const String text =
      UninstallBatchText(folder, ShortPath(program_path), ShortPath(path), company_folder);
  result = file.OpenForWriting(path.Text());
  if (result != kOk) return result;
  TextStream writer(&file);
  writer.SetMode(kTextEncodingAnsi);
  result = writer.Write(text.Text(), text.Length() * 2);
  const Result flushed = writer.Flush(0);
  writer.Close();
  const Result closed = file.Close();
  if (result == kOk) result = flushed != kOk ? flushed : closed;
  if (result == kOk) batch_path = path;
  return result;
}

}  // namespace vorn
