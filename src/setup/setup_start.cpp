#include "setup/setup_start.h"

#include "analytics/usage_tracker.h"
#include "application/application_core.h"
#include "application/command_line.h"
#include "foundation/guid.h"
#include "resources/resource_manager.h"
#include "resources/startup_documents.h"
#include "setup/setup_controls.h"
#include "setup/setup_module.h"
#include "setup/setup_switches.h"
#include "ui/installer_controls.h"
#include "ui/message_box_prompt.h"

namespace vorn {

namespace {

// Whether the start itself ended the program (a quitting switch, no
// description), as opposed to the single-instance rule after it.
bool quit_during_start = false;

bool Unattended() noexcept {
  return CommandLine::Get().HasSwitch(u"Unattended");
}

}  // namespace

void RunSetupStart() noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  ResourceManager& resources = ResourceManager::Instance();
  RegisterInstallerDocuments(resources);
  const Result description = core.Description().ReadFromResources(resources);
  if (description != kOk) {
    // An unattended run reports the damaged package: a deployment tool
    // would otherwise count an installation that never happened.
    core.RequestQuit(Unattended() ? static_cast<int32_t>(description) : 0, false);
    quit_during_start = true;
    return;
  }
  // Without a tracking identifier the tracker sends nothing; a failure here
  // only costs the usage figures.
  UsageTracker::Create();
  RegisterFrameworkStrings(resources);
  SetProcessAppUserModelId(GuidToText(core.Description().uuid));
  // The uninstallation and the file-type switches below may already ask
  // questions, with the described message boxes.
  RegisterInstallerControls();
  UseMessageBoxesForUserPrompts();
  HandleSetupSwitches(CommandLine::Get(), ProgramSwitchActions());
  quit_during_start = core.QuitRequested();
}

void RegisterSetupModules() noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  // Another copy of the installer runs, and the single-instance rule has
  // ended this one with 0: an unattended run says that nothing was
  // installed.
  if (!quit_during_start && core.QuitRequested() && Unattended()) {
    core.RequestQuit(static_cast<int32_t>(kAlreadyExists), false);
    return;
  }
  core.RegisterModule(SetupModule::Get());
}

}  // namespace vorn
