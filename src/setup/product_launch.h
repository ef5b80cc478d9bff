// Starting programs from the installer: the installed product, and the
// installer itself again with administrator rights.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// The exit code with which the elevated child asks its parent to start the
// product (so that it does not run with the installer's rights).
inline constexpr int32_t kStartProductExitCode = 41;

// The switches the elevated child gets, and nothing else of the parent's
// command line.
inline constexpr const char16_t* kElevatedChildParameters =
    u"-LaunchedAsAdministrator -AllowMultipleInstances";

// Whether this process has administrator rights already (always outside
// Windows, where there is nothing to ask for).
bool RunsElevated() noexcept;

// Starts the product executable with the shell's "open", without waiting.
Result StartProduct() noexcept;

// Starts `program` again with the child's switches ("runas" unless this
// process is elevated already, then "open"), the elevation prompt owned by
// `owner` (a platform window), waits for it and gives its exit code. A refused prompt or a child
// that did not start gives the refusal's code and exit code 0.
Result RelaunchElevated(const String& program, void* owner, uint32_t& exit_code) noexcept;
// The same with other parameters than the child's usual switches.
Result RelaunchElevated(const String& program, const String& parameters, void* owner,
                        uint32_t& exit_code) noexcept;

}  // namespace vorn
