#include "application/framework_switches.h"

#include "application/application_core.h"
#include "application/command_line.h"
#include "application/file_type_registration.h"
#include "application/uninstallation.h"

namespace vorn {

namespace {

enum class FrameworkSwitch : uint32_t {
  kNone,
  kRegisterFileTypes,
  kUnregisterFileTypes,
  kInstall,
  kUninstall,
  kUpdate,
};

FrameworkSwitch Classify(const String& name) noexcept {
  if (name.EqualsIgnoringCase(u"RegisterFileTypes")) return FrameworkSwitch::kRegisterFileTypes;
  if (name.EqualsIgnoringCase(u"UnregisterFileTypes")) return FrameworkSwitch::kUnregisterFileTypes;
  if (name.EqualsIgnoringCase(u"Install")) return FrameworkSwitch::kInstall;
  if (name.EqualsIgnoringCase(u"Uninstall")) return FrameworkSwitch::kUninstall;
  if (name.EqualsIgnoringCase(u"Update")) return FrameworkSwitch::kUpdate;
  return FrameworkSwitch::kNone;
}

Result Run(FrameworkSwitch which) noexcept {
  switch (which) {
    case FrameworkSwitch::kRegisterFileTypes:
      return RegisterFileTypes(true, true);
    case FrameworkSwitch::kUnregisterFileTypes:
      return RegisterFileTypes(false, true);
    case FrameworkSwitch::kInstall:
      // Run by the installer, which cannot act on a failure here.
      RegisterFileTypes(true, false);
      return kOk;
    case FrameworkSwitch::kUninstall:
      return Uninstall(false);
    case FrameworkSwitch::kUpdate:
      return Uninstall(true);
    case FrameworkSwitch::kNone:
      break;
  }
  return kOk;
}

}  // namespace

bool RunFrameworkSwitch(const String& name, Result& result) noexcept {
  const FrameworkSwitch which = Classify(name);
  if (which == FrameworkSwitch::kNone) return false;
  result = Run(which);
  return true;
}

uint32_t HandleFrameworkSwitches() noexcept {
  ApplicationCore& core = ApplicationCore::Get();
  CommandLine& command_line = CommandLine::Get();
  if (command_line.HasSwitch(u"Quiet")) core.SetQuiet(true);
  uint32_t handled = 0;
  for (uint32_t i = 0; i < command_line.TokenCount(); ++i) {
    const CommandLineToken& token = command_line.Token(i);
    if (!token.is_switch) continue;
    Result result = kOk;
    if (!RunFrameworkSwitch(token.switch_name, result)) continue;
    core.RequestQuit(static_cast<int32_t>(result), false);
    ++handled;
  }
  return handled;
}

}  // namespace vorn
