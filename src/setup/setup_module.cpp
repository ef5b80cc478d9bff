#include "setup/setup_module.h"

#include <new>

#include "application/application_core.h"
#include "application/command_line.h"
#include "foundation/windows_version.h"
#include "package/package_file_system.h"
#include "resources/preferences.h"
#include "setup/installation_settings.h"
#include "setup/product_launch.h"
#include "setup/setup_window.h"
#include "setup/unattended_install.h"
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
  CommandLine& command_line = CommandLine::Get();
  const bool launched_as_administrator = command_line.HasSwitch(u"LaunchedAsAdministrator");
  if (command_line.HasSwitch(u"Unattended")) {
    // The module stays registered so that its shutdown runs; the quit
    // carries the installation's result.
    ApplicationCore::Get().RequestQuit(RunUnattended(launched_as_administrator), false);
    return kOk;
  }
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

int32_t SetupModule::RunUnattended(bool launched_as_administrator) noexcept {
  CommandLine& command_line = CommandLine::Get();
  if (!ShowsPagesItself(WindowsVersion(), launched_as_administrator) && !RunsElevated()) {
    // A deployment tool usually runs elevated already; otherwise the
    // elevated child does the work and its exit code is the run's.
    uint32_t child_exit_code = 0;
    const Result relaunch =
        RelaunchElevated(ApplicationCore::Get().ProgramPath(),
                         UnattendedChildParameters(command_line), nullptr, child_exit_code);
    // A refused elevation prompt is a refused access to the computer.
    if (relaunch == kCancelled) return static_cast<int32_t>(kAccessDenied);
    if (relaunch != kOk) return static_cast<int32_t>(relaunch);
    return static_cast<int32_t>(child_exit_code);
  }
  UnattendedOptions options;
  const Result read = ReadUnattendedOptions(command_line, options);
  InstallationSettings& settings = InstallationSettings::Get();
  // Held for the whole installation, as the pages hold it: the product
  // cannot start meanwhile. No message box here; the exit code says it.
  const String marker_name = u"VornLib.{" + settings.UuidText() + u"}";
  product_marker_.CreateNamed(marker_name.Text());
  return RunUnattendedInstall(options, read, product_marker_.AlreadyExisted(), settings,
                              PackageFileSystem::Instance());
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
  // The elevated copy reads the preferences when it starts: a language
  // chosen on this process's command line ("/Language=fr") reaches it only
  // through them, since no switch is passed on.
  Preferences::Instance().Save();
  uint32_t child_exit_code = 0;
  const Result relaunch = RelaunchElevated(
      core.ProgramPath(), window_ != nullptr ? window_->Handle() : nullptr, child_exit_code);
  // The child may have installed into another folder than the defaults.
  InstallationSettings::Get().ReadExistingInstallation();
  if (relaunch == kOk && child_exit_code == static_cast<uint32_t>(kStartProductExitCode))
    StartProduct();
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
