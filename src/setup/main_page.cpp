#include "setup/main_page.h"

#include "setup/setup_action.h"
#include "ui/tab_control.h"

namespace vorn {

namespace {

TabControl* TabsOf(const Window& page) noexcept {
  return static_cast<TabControl*>(page.FindChild(WindowIdOf(u"Tabs"), kWindowClassTabControl));
}

}  // namespace

MainPage::~MainPage() {
  // The tab pages are members: they leave the tree before they go.
  Page* pages[] = {&welcome_, &license_, &options_};
  for (Page* page : pages) {
    page->Destroy();
    page->Attach(nullptr);
  }
}

Result MainPage::Load() noexcept {
  Result result = LoadDescription(u"MainPage");
  if (result != kOk) return result;
  TabControl* tabs = TabsOf(*this);
  if (tabs == nullptr) return kNotFound;
  struct Tab {
    Page* page;
    const char16_t* name;
  };
  const Tab order[] = {{&welcome_, u"WelcomePage"}, {&license_, u"LicensePage"},
                       {&options_, u"OptionsPage"}};
  for (int32_t i = 0; i < 3; ++i) {
    result = order[i].page->LoadDescription(order[i].name);
    if (result != kOk) return result;
    order[i].page->SetOwnedByParent(false);
    // The tab strip holds one picture per tab, in tab order.
    result = tabs->AddPage(order[i].page, i);
    if (result != kOk) return result;
  }
  return kOk;
}

bool MainPage::HandleMessage(WindowMessage& message) noexcept {
  if (message.message == kSetupActionMessage && message.handle == Handle()) {
    switch (static_cast<SetupAction>(message.wparam)) {
      case SetupAction::EnableInstall:
      case SetupAction::DisableInstall:
        if (Window* install = FindChild(WindowIdOf(u"InstallCmd"), kWindowClassButton)) {
          install->Enable(static_cast<SetupAction>(message.wparam) == SetupAction::EnableInstall);
        }
        break;
      case SetupAction::ShowLicense:
        ShowLicense();
        break;
      default:
        break;
    }
    message.result = 0;
    return true;
  }
  return Page::HandleMessage(message);
}

void MainPage::ShowLicense() noexcept {
  TabControl* tabs = TabsOf(*this);
  if (tabs == nullptr) return;
  for (uint32_t i = 0; i < tabs->PageCount(); ++i) {
    if (tabs->PageAt(i) == &license_) tabs->Select(static_cast<int32_t>(i), true);
  }
}

bool MainPage::OnCommand(WindowId command, uint32_t code, Window* sender) noexcept {
  void* owner = Parent() != nullptr ? Parent()->Handle() : nullptr;
  if (command == WindowIdOf(u"InstallCmd")) {
    PostSetupAction(owner, SetupAction::StartTransfer);
    return true;
  }
  if (command == WindowIdOf(u"QuitCmd")) {
    PostSetupAction(owner, SetupAction::QuitSetup);
    return true;
  }
  return Page::OnCommand(command, code, sender);
}

}  // namespace vorn
