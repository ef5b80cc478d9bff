#include "setup/welcome_page.h"

#include "foundation/format.h"
#include "resources/localized_text.h"
#include "setup/installation_settings.h"
#include "setup/setup_action.h"
#include "ui/installer_controls.h"

namespace vorn {

namespace {

// The notices in the order of the distribution values.
constexpr const char16_t* kNotices[] = {u"NoticePublicProduct", u"NoticeOpenBeta",
                                        u"NoticeClosedBeta"};

// Links share the static texts' class code: the element name tells them apart.
Hyperlink* LinkIn(Window* notice, const char16_t* name) noexcept {
  if (notice == nullptr) return nullptr;
  Window* found = notice->FindChild(WindowIdOf(name), kWindowClassStatic);
  if (found == nullptr || String(found->TypeName()) != String(u"URL")) return nullptr;
  return static_cast<Hyperlink*>(found);
}

}  // namespace

Result WelcomePage::OnCreated() noexcept {
  const InstallationSettings& settings = InstallationSettings::Get();
  if (auto* title = static_cast<TextControl*>(FindChild(WindowIdOf(u"Title"), kWindowClassStatic))) {
    title->SetText(Format(LocalizedString(u"#WelcomeTitle").Text(), FormatArg(settings.name)));
  }
  Window* public_notice = FindChild(WindowIdOf(kNotices[0]));
  if (Hyperlink* link = LinkIn(public_notice, u"InfoPublicDistribution")) {
    link->SetText(Format(LocalizedString(u"#WelcomeInfoURL").Text(), FormatArg(settings.name)));
    link->SetAddress(settings.web_site);
  }
  if (Hyperlink* link = LinkIn(FindChild(WindowIdOf(kNotices[1])), u"InfoProtectedDistribution")) {
    link->SetAddress(settings.register_url);
  }
  const uint32_t shown = static_cast<uint32_t>(settings.distribution);
  for (uint32_t i = 0; i < 3; ++i) {
    Window* notice = FindChild(WindowIdOf(kNotices[i]));
    if (notice != nullptr && i == shown) notice->Show(true);
  }
  return Page::OnCreated();
}

void WelcomePage::Navigate(const char16_t*) noexcept {
  if (Parent() != nullptr) PostSetupAction(Parent()->Handle(), SetupAction::ShowLicense);
}

}  // namespace vorn
