#include "setup/last_page.h"

#include "foundation/format.h"
#include "resources/localized_text.h"
#include "setup/installation_settings.h"
#include "setup/setup_action.h"
#include "ui/installer_controls.h"

namespace vorn {

namespace {

constexpr const char16_t* kDescriptions[] = {u"SuccessPage", u"FailurePage", u"CanceledPage"};

}  // namespace

Result LastPage::Load() noexcept {
  return LoadDescription(kDescriptions[static_cast<uint32_t>(kind_)]);
}

Result LastPage::OnCreated() noexcept {
  const InstallationSettings& settings = InstallationSettings::Get();
  auto* site = static_cast<Hyperlink*>(FindChild(WindowIdOf(u"WebSite"), kWindowClassStatic));
  if (site != nullptr && String(site->TypeName()) != u"URL") site = nullptr;
  if (kind_ == LastPageKind::kFailure && site != nullptr) {
    site->SetAddress(settings.technical_support);
  } else if (kind_ == LastPageKind::kSuccess) {
    if (auto* message =
            static_cast<TextControl*>(FindChild(WindowIdOf(u"Message"), kWindowClassStatic))) {
      message->SetText(
          Format(LocalizedString(u"#SuccessMessage").Text(), FormatArg(settings.name)));
    }
    if (site != nullptr) site->SetAddress(settings.web_site);
    if (auto* run = static_cast<TextControl*>(FindChild(WindowIdOf(u"RunCmd"), kWindowClassButton))) {
      run->SetText(Format(LocalizedString(u"#RunButton").Text(), FormatArg(settings.name)));
    }
  }
  return Page::OnCreated();
}

void LastPage::PostToOwner(SetupAction action) noexcept {
  if (Parent() != nullptr) PostSetupAction(Parent()->Handle(), action);
}

bool LastPage::OnCommand(WindowId command, uint32_t code, Window* sender) noexcept {
  if (command == WindowIdOf(u"QuitCmd")) {
    PostToOwner(SetupAction::QuitSetup);
    return true;
  }
  if (kind_ == LastPageKind::kSuccess && command == WindowIdOf(u"RunCmd")) {
    PostToOwner(SetupAction::RunProduct);
    return true;
  }
  return Page::OnCommand(command, code, sender);
}

void LastPage::OnCancel() noexcept {
  PostToOwner(SetupAction::QuitSetup);
}

}  // namespace vorn
