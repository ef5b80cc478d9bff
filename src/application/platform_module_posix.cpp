#include <unistd.h>

#include "application/application_core.h"
#include "application/application_window.h"
#include "application/platform_module.h"

namespace vorn {

namespace {

String ReadProgramPath() noexcept {
  char buffer[4096];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return String();
  String path = Utf8ToString(buffer, static_cast<size_t>(length));
  path.Trim();
  return path;
}

}  // namespace

PlatformModule::PlatformModule() noexcept {
  program_path_ = ReadProgramPath();
}

PlatformModule::~PlatformModule() = default;

void PlatformModule::BringOtherInstanceForward(const String&) noexcept {}

// No system message queue here: the main window is only given its frame.
Result PlatformModule::PumpMessages(float frame_time) noexcept {
  ApplicationCore::Get().MainWindow()->UpdateFrame(frame_time);
  return kOk;
}

}  // namespace vorn
