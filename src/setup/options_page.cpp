#include "setup/options_page.h"

#include "foundation/folder.h"
#include "foundation/format.h"
#include "foundation/special_folder.h"
#include "resources/localized_text.h"
#include "resources/preferences.h"
#include "setup/install_options.h"
#include "setup/installation_settings.h"
#include "setup/setup_action.h"
#include "setup/setup_controls.h"
#include "ui/browse_folder_dialog.h"
#include "ui/installer_controls.h"

namespace vorn {

namespace {

constexpr const char16_t* kDesktopPreference = u"/User/Global/InstallOptions/CreateDesktopShortcut";
constexpr const char16_t* kQuickLaunchPreference =
    u"/User/Global/InstallOptions/CreateQuickLaunchShortcut";

// Unread preferences count as checked.
bool PreferenceChecked(const char16_t* path) noexcept {
  bool value = true;
  if (Preferences::Instance().GetBool(path, &value) != kOk) return true;
  return value;
}

}  // namespace

String OptionsPage::FolderText() const noexcept {
  Window* folder = FindChild(WindowIdOf(u"InstallFolder"), kWindowClassEditBox);
  return folder != nullptr ? static_cast<EditBox*>(folder)->CurrentText() : String();
}

String OptionsPage::GroupText() const noexcept {
  Window* group = FindChild(WindowIdOf(u"ProgramGroup"), kWindowClassComboBox);
  return group != nullptr ? ComboEditText(*group) : String();
}

Result OptionsPage::OnCreated() noexcept {
  const InstallationSettings& settings = InstallationSettings::Get();
  if (auto* label = static_cast<TextControl*>(
          FindChild(WindowIdOf(u"InstallFolderLabel"), kWindowClassStatic))) {
    label->SetText(
        Format(LocalizedString(u"#InstallFolderLabel").Text(), FormatArg(settings.name)));
  }
  if (Window* folder = FindChild(WindowIdOf(u"InstallFolder"), kWindowClassEditBox)) {
    static_cast<TextControl*>(folder)->SetText(settings.install_folder);
  }
  if (auto* space =
          static_cast<TextControl*>(FindChild(WindowIdOf(u"SpaceRequired"), kWindowClassStatic))) {
    space->SetText(Format(LocalizedString(u"#SpaceRequired").Text(),
                          FormatArg(settings.SpaceRequiredMiB())));
  }
  if (Window* box = FindChild(WindowIdOf(u"CreateDesktopShortcut"), kWindowClassButton)) {
    static_cast<Button*>(box)->SetChecked(PreferenceChecked(kDesktopPreference));
  }
  if (Window* box = FindChild(WindowIdOf(u"CreateQuickLaunchShortcut"), kWindowClassButton)) {
    static_cast<Button*>(box)->SetChecked(PreferenceChecked(kQuickLaunchPreference));
  }
  if (Window* group = FindChild(WindowIdOf(u"ProgramGroup"), kWindowClassComboBox)) {
    FillProgramGroups(*group);
    SetComboEditText(*group, settings.program_group);
  }
  group_picked_ = false;
  const Result result = Page::OnCreated();
  // The button starts in the state the defaults deserve (an existing
  // installation's folder may no longer pass).
  Validate();
  return result;
}

void OptionsPage::FillProgramGroups(Window& combo) noexcept {
  String programs;
  if (GetSpecialFolder(kProgramsMenuFolder, programs) != kOk) return;
  Folder folder(programs.Text());
  while (folder.Next() == kOk) {
    if (folder.EntryIsFolder()) AppendComboListItem(combo, folder.Entry().name);
  }
}

void OptionsPage::OnDestroying() noexcept {
  InstallationSettings& settings = InstallationSettings::Get();
  settings.install_folder = FolderText();
  settings.program_group = GroupText();
  Page::OnDestroying();
}

bool OptionsPage::HandleMessage(WindowMessage& message) noexcept {
  if (message.message == kCommandMessage && message.handle == Handle()) {
    const auto id = static_cast<WindowId>(message.wparam & 0xFFFF);
    const auto code = static_cast<uint32_t>((message.wparam >> 16) & 0xFFFF);
    if (id == WindowIdOf(u"InstallFolder") && code == kEditChanged) {
      Validate();
    } else if (id == WindowIdOf(u"ProgramGroup") && code == kComboSelectionEndOk) {
      group_picked_ = true;
    } else if (id == WindowIdOf(u"ProgramGroup") && code == kComboEditChanged) {
      GroupEdited();
    }
  }
  return Page::HandleMessage(message);
}

void OptionsPage::GroupEdited() noexcept {
  if (group_picked_) {
    group_picked_ = false;
    if (Window* group = FindChild(WindowIdOf(u"ProgramGroup"), kWindowClassComboBox)) {
      SetComboEditText(*group,
                       GroupInsidePicked(GroupText(), InstallationSettings::Get().DisplayName()));
    }
  }
  Validate();
}

bool OptionsPage::OnCommand(WindowId command, uint32_t code, Window* sender) noexcept {
  const bool desktop = command == WindowIdOf(u"CreateDesktopShortcut");
  if (desktop || command == WindowIdOf(u"CreateQuickLaunchShortcut")) {
    Window* box = FindChild(command, kWindowClassButton);
    if (box == nullptr) return true;
    Preferences::Instance().SetBool(desktop ? kDesktopPreference : kQuickLaunchPreference,
                                    static_cast<Button*>(box)->Checked());
    return true;
  }
  if (command == WindowIdOf(u"BrowseFolder")) {
    BrowseForFolder();
    return true;
  }
  return Page::OnCommand(command, code, sender);
}

void OptionsPage::BrowseForFolder() noexcept {
  BrowseFolderDialog browser;
  browser.LoadDescription(u"BrowseInstallFolderDialog");
  browser.Attach(this);
  browser.SetInitialPath(FolderText());
  const Result result = browser.Run();
  browser.Attach(nullptr);
  if (result != kOk) return;
  if (Window* folder = FindChild(WindowIdOf(u"InstallFolder"), kWindowClassEditBox)) {
    // The chosen folder always ends with a backslash.
    static_cast<TextControl*>(folder)->SetText(browser.SelectedPath() +
                                               InstallationSettings::Get().DisplayName());
  }
  Validate();
}

void OptionsPage::Validate() noexcept {
  const bool valid = InstallOptionsValid(FolderText(), GroupText());
  if (Parent() == nullptr) return;
  PostSetupAction(Parent()->Handle(),
                  valid ? SetupAction::EnableInstall : SetupAction::DisableInstall);
}

}  // namespace vorn
