// The framework's own command-line switches, handled during the application
// start of every program built on it: "Quiet" first, then in command-line
// order "RegisterFileTypes", "UnregisterFileTypes", "Install", "Uninstall"
// and "Update". Each of the five does its work there and then and requests
// quit with its result; later switches still run and the last result is the
// exit code.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// Runs the framework switch of that name (compared without regard to case)
// and gives its result in `result`; false, and nothing run, for any other
// name. Programs that handle switches of their own in command-line order
// call it for each switch.
bool RunFrameworkSwitch(const String& name, Result& result) noexcept;

// Sets the application's quiet flag when "Quiet" is given, then runs the
// five switches. Returns how many of them ran.
uint32_t HandleFrameworkSwitches() noexcept;

}  // namespace vorn
