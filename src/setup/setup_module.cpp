#include "setup/setup_module.h"

#include <new>

#include "application/application_core.h"
#include "application/command_line.h"
#include "foundation/windows_version.h"
#include "setup/installation_settings.h"
#include "setup/product_launch.h"
#include "setup/setup_window.h"
#include "ui/message_box.h"

namespace vorn {

bool ShowsPagesItself(uint32_t windows_version, bool launched_as_administrator) noexcept {
  return windows_version < kWindowsVista || launched_as_administrator;
}

SetupModule& SetupModule::Get() noexcept {
  static SetupModule module;
  return module;
}

Result SetupModule::Initialize() noexcept {
  const bool launched_as_administrator =
      CommandLine::Get().HasSwitch(u"LaunchedAsAdministrator");
  if (ShowsPagesItself(WindowsVersion(), launched_as_administrator)) return ShowPages();
  return RelaunchAndWait();
}

Result SetupModule::ShowPages() noexcept {
  InstallationSettings& settings = InstallationSettings::Get();
  const String marker_name = u"VornLib.{" + settings.UuidText() + u"}";
  product_marker_.CreateNamed(marker_name.Text());
  if (product_marker_.AlreadyExisted()) {
    ShowMessageBox(u"CloseBeforeUninstall", settings.name);
    return kAlreadyExists;
  }
  window_ = new (std::nothrow) SetupWindow();
  if (window_ == nullptr) return kOutOfMemory;
  // A description that does not load leaves a window with its defaults;
  // the installer goes on with what it has.
  window_->Load(true);
  window_->MakeApplicationMainWindow();
  return kOk;
}

Result SetupModule::RelaunchAndWait() noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  window_ = new (std::nothrow) SetupWindow();
  if (window_ != nullptr) {
    window_->Load(false);
    // Never shown: it only owns the elevation prompt.
    window_->SetStyle(window_->Style() & ~kStyleVisible);
    window_->MakeApplicationMainWindow();
    if (window_->CreateSystemWindow() == kOk) core.MainWindowCreated(window_->Handle());
  }
  uint32_t child_exit_code = 0;
  const Result relaunch = RelaunchElevated(core.ProgramPath(),
                                           window_ != nullptr ? window_->Handle() : nullptr,
                                           child_exit_code);
  // The child may have installed into another folder than the defaults.
  InstallationSettings::Get().ReadExistingInstallation();
  if (relaunch == kOk && child_exit_code == kStartProductExitCode) StartProduct();
  DestroyWindow();
  return kOk;
}

void SetupModule::DestroyWindow() noexcept {
  if (window_ == nullptr) return;
  ApplicationCore& core = ApplicationCore::Get();
  if (window_->Exists()) {
    window_->Destroy();
  }
  core.ForgetMainWindow(window_);
  delete window_;
  window_ = nullptr;
}

void SetupModule::Shutdown() noexcept {
  DestroyWindow();
}

}  // namespace vorn
