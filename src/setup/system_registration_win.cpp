// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

#include "foundation/folder.h"
#include "foundation/format.h"
#include "foundation/path.h"
#include "foundation/registry_key.h"
#include "foundation/shell_run.h"
#include "foundation/special_folder.h"
#include "resources/localized_text.h"
#include "setup/installation_settings.h"
#include "setup/system_registration.h"

namespace vorn {

namespace {

const wchar_t* Wide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}

// The shell link class and the two interfaces a shortcut is made through.
constexpr CLSID kShellLinkClass = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkInterface = {
    0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFileInterface = {
    0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

String LocalizedWith(InstallationSettings& settings, const String& text) noexcept {
  String localized;
  if (settings.Resources() != nullptr) {
    LocalizeText(*settings.Resources(), text.Text(), localized);
  } else {
    LocalizeText(text.Text(), localized);
  }
  return localized;
}

// A list sub-key of the entry: values "0", "1", ... in order.
void WriteList(InstallationSettings& settings, const char16_t* list_name, uint32_t count,
               const String& (*entry)(InstallationSettings&, uint32_t)) noexcept {
  RegistryKey list;
  if (list.SetRoot(RegistryKey::kLocalMachine,
                   String(settings.UninstallKey() + u"\\" + list_name).Text()) != kOk) {
    return;
  }
  for (uint32_t i = 0; i < count; ++i) {
    list.WriteText(IntegerText(i).Text(), entry(settings, i).Text());
  }
}

const String& FileListEntry(InstallationSettings& settings, uint32_t index) noexcept {
  return settings.files[index].relative_path;
}

const String& ShortcutListEntry(InstallationSettings& settings, uint32_t index) noexcept {
  return settings.created_shortcuts[index];
}

// The shortcut to the product with its display name and description, in
// one of the optional folders when the system has that folder.
void CreateProductShortcutIn(InstallationSettings& settings, uint32_t folder_number) noexcept {
  String folder;
  if (GetSpecialFolder(folder_number, folder) != kOk || !path::IsValid(folder)) return;
  CreateShortcut(settings, folder, settings.DisplayName(), settings.ProductExecutable(),
                 settings.description.Text());
}

}  // namespace

Result WriteUninstallEntry(InstallationSettings& settings) noexcept {
  RegistryKey entry;
  if (entry.SetRoot(RegistryKey::kLocalMachine, settings.UninstallKey().Text()) == kOk) {
    const String main_executable = settings.MainExecutablePath();
    SYSTEMTIME today;
    GetLocalTime(&today);
    // Single values that cannot be written are passed over: the entry is
    // still useful without them.
    entry.WriteText(u"UninstallString", String(u"\"" + main_executable + u"\" /Uninstall").Text());
    entry.WriteText(u"DisplayName", settings.DisplayName().Text());
    entry.WriteText(u"Contact", settings.contact.Text());
    entry.WriteText(u"Comments", settings.description.Text());
    entry.WriteText(u"DisplayIcon", main_executable.Text());
    entry.WriteText(u"DisplayVersion", String(settings.version + u" " + settings.tag).Text());
    entry.WriteText(u"Publisher", settings.company.Text());
    entry.WriteText(u"HelpLink", settings.web_site.Text());
    entry.WriteText(u"URLInfoAbout", settings.technical_support.Text());
    entry.WriteText(u"URLUpdateInfo", settings.updates.Text());
    entry.WriteText(u"Size", u"");
    entry.WriteText(u"InstallDate", InstallDateText(today.wYear, today.wMonth, today.wDay).Text());
    entry.WriteText(u"InstallLocation", settings.InstallFolderPath().Text());
    entry.WriteInt32(u"EstimatedSize", static_cast<int32_t>(settings.total_size / 1024));
    entry.WriteInt32(u"NoModify", 1);
    entry.WriteInt32(u"NoRepair", 1);
    entry.WriteText(u"VornLib.InstallFolder", settings.install_folder.Text());
    entry.WriteText(u"VornLib.ProgramGroup", settings.program_group.Text());
    entry.WriteText(u"VornLib.UninstallProgram", main_executable.Text());
    // Deployment tools and package managers look for the silent removal
    // here; the quiet uninstallation asks no question.
    entry.WriteText(u"QuietUninstallString",
                    String(u"\"" + main_executable + u"\" /Uninstall /Quiet").Text());
  }
  WriteList(settings, u"FilesList", settings.files.Count(), &FileListEntry);
  // The product registers its own file types, protocols and App Paths; the
  // installation stands whether or not it manages to.
  ShellRunElevated(settings.ProductExecutable().Text(), u"/Install");
  return kOk;
}

Result CreateProgramGroupShortcuts(InstallationSettings& settings) noexcept {
  String programs;
  Result result = GetSpecialFolder(kProgramsMenuFolder, programs);
  if (result != kOk) return result;
  const String folder = path::WithTrailingSeparator(programs) + settings.program_group;
  result = Folder::Create(folder.Text());
  if (result != kOk) return result;
  result = CreateShortcut(settings, folder, settings.DisplayName(), settings.ProductExecutable(),
                          settings.description.Text());
  if (result != kOk) return result;
  for (uint32_t i = 0; i < settings.shortcuts.Count(); ++i) {
    const ShortcutEntry& entry = settings.shortcuts[i];
    const String help = LocalizedWith(settings, entry.help);
    result = CreateShortcut(settings, folder, LocalizedWith(settings, entry.text),
                            String(settings.install_folder + u"\\" + entry.target), help.Text());
    if (result != kOk) return result;
  }
  return kOk;
}

Result CreateOptionalShortcuts(InstallationSettings& settings) noexcept {
  if (InstallationSettings::CreateDesktopShortcut()) {
    CreateProductShortcutIn(settings, kUserDesktopFolder);
  }
  if (InstallationSettings::CreateQuickLaunchShortcut()) {
    CreateProductShortcutIn(settings, kQuickLaunchFolder);
  }
  return kOk;
}

Result WriteShortcutList(InstallationSettings& settings) noexcept {
  WriteList(settings, u"ShortcutsList", settings.created_shortcuts.Count(), &ShortcutListEntry);
  return kOk;
}

Result CreateShortcut(InstallationSettings& settings, const String& folder, const String& name,
                      const String& target, const char16_t* description) noexcept {
  if (folder.IsEmpty()) return kInvalidPath;
  if (name.IsEmpty()) return kInvalidName;
  if (target.IsEmpty()) return kInvalidPath;
  const String link_path = path::WithTrailingSeparator(folder) + name + u".lnk";
  // A read-only link left from before could not be replaced.
  SetFileAttributesW(Wide(link_path.Text()), FILE_ATTRIBUTE_NORMAL);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  HRESULT status = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                    kShellLinkInterface, reinterpret_cast<void**>(&link));
  if (SUCCEEDED(status)) {
    status = link->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file));
  }
  if (SUCCEEDED(status)) status = link->SetPath(Wide(target.Text()));
  if (SUCCEEDED(status) && description != nullptr) {
    status = link->SetDescription(Wide(description));
  }
  if (SUCCEEDED(status)) status = file->Save(Wide(link_path.Text()), TRUE);
  if (SUCCEEDED(status)) status = file->SaveCompleted(Wide(link_path.Text()));
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  if (FAILED(status)) return kFailed;
  return settings.created_shortcuts.Append(link_path);
}

}  // namespace vorn
