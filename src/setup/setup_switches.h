// The installer's command line during start-up: "Quiet" is looked up first,
// then every other switch is handled in the order it was written, so that
// "/Language=fr /Uninstall" asks its questions in French. A switch that
// quits ("Uninstall", "Update", the file-type switches, "Install") does not
// stop the walk: later switches still run, and the last quit's code wins.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class CommandLine;

// What the switches do to the program; the installer's start-up hands in
// the real ones, tests record them.
class SetupSwitchActions {
 public:
  virtual ~SetupSwitchActions() = default;
  virtual void SetQuiet() noexcept = 0;
  // A framework switch ("Uninstall", "RegisterFileTypes", ...): true and its
  // result when `name` is one, false for any other name.
  virtual bool RunFrameworkSwitch(const String& name, Result& result) noexcept = 0;
  // The value of "Language"; a name the program does not know changes nothing.
  virtual void ApplyLanguage(const String& value) noexcept = 0;
  virtual void RequestQuit(int32_t exit_code) noexcept = 0;
};

// Walks the command line as above. Returns how many switches requested quit.
uint32_t HandleSetupSwitches(CommandLine& command_line, SetupSwitchActions& actions) noexcept;

// The actions of the running program: the application core's quiet flag
// and quit request, the framework's switches, the chosen language (kept in
// the preferences for later runs).
SetupSwitchActions& ProgramSwitchActions() noexcept;

}  // namespace vorn
