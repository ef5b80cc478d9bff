#include "application/platform_module.h"

#include "application/application_core.h"
#include "application/application_window.h"
#include "application/command_line.h"

namespace vorn {

PlatformModule& PlatformModule::Get() noexcept {
  static PlatformModule module;
  return module;
}

Result PlatformModule::Initialize() noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  const ApplicationDescription& description = core.Description();
  const String marker_name = u"VornLib.{" + GuidToText(description.uuid) + u"}";
  // Where no marker can be made (or on a platform without named locks) the
  // program simply runs as the first instance.
  instance_marker_.CreateNamed(marker_name.Text());
  if (description.multiple_instances_allowed ||
      CommandLine::Get().HasSwitch(u"AllowMultipleInstances")) {
    return kOk;
  }
  if (!instance_marker_.AlreadyExisted()) return kOk;
  BringOtherInstanceForward(description.name + u"::Window");
  return kAlreadyExists;
}

bool PlatformModule::IsIdle() noexcept {
  ApplicationWindow* window = ApplicationCore::Get().MainWindow();
  return window == nullptr || window->IsIdle();
}

Result PlatformModule::Update(float frame_time) noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  ApplicationWindow* window = core.MainWindow();
  if (window == nullptr || !window->HasSystemWindow()) {
    // Nothing left to show: the program is done.
    core.RequestQuit(0, false);
    return kOk;
  }
  return PumpMessages(frame_time);
}

}  // namespace vorn
