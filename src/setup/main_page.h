// The installer's first page: the tab control with the welcome, licence
// and options tabs, and the install and quit buttons.
#pragma once

#include "foundation/result.h"
#include "setup/options_page.h"
#include "setup/welcome_page.h"
#include "ui/page.h"

namespace vorn {

class MainPage : public Page {
 public:
  MainPage() noexcept = default;
  ~MainPage() override;

  // Reads "MainPage" and the three tab pages' descriptions and hands the
  // tabs to the tab control "Tabs" (they are made with it).
  Result Load() noexcept;

  bool HandleMessage(WindowMessage& message) noexcept override;
  bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept override;

  WelcomePage& Welcome() noexcept { return welcome_; }
  Page& License() noexcept { return license_; }
  OptionsPage& Options() noexcept { return options_; }

 private:
  void ShowLicense() noexcept;

  WelcomePage welcome_;
  Page license_;
  OptionsPage options_;
};

}  // namespace vorn
