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

void RunSetupStart() noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  ResourceManager& resources = ResourceManager::Instance();
  RegisterInstallerDocuments(resources);
  if (core.Description().ReadFromResources(resources) != kOk) {
    core.RequestQuit(0, false);
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
}

void RegisterSetupModules() noexcept {
  ApplicationCore::Get().RegisterModule(SetupModule::Get());
}

}  // namespace vorn
