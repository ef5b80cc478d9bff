// The message boxes of the running application: its resources, its quiet
// flag, its main window and its name.
#include "application/application_core.h"
#include "application/application_window.h"
#include "resources/resource_manager.h"
#include "ui/message_box.h"

namespace vorn {

uint32_t ShowMessageBox(const char16_t* name, const String& argument) noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  MessageBoxOwner owner;
  owner.quiet = core.Quiet();
  if (owner.quiet) return kMessageBoxRefused;
  const ApplicationWindow* main_window = core.MainWindow();
  if (main_window && main_window->HasSystemWindow()) owner.window = main_window->SystemHandle();
  owner.application_name = core.Description().name;
  return ShowMessageBox(ResourceManager::Instance(), SystemMessageBoxDisplay(), owner, name,
                        argument);
}

}  // namespace vorn
