// Starting programs from the installer: the installed product, and the
// installer itself again with administrator rights.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// The switches the elevated child gets, and nothing else of the parent's
// command line.
inline constexpr const char16_t* kElevatedChildParameters =
    u"-LaunchedAsAdministrator -AllowMultipleInstances";

// Starts the product executable with the shell's "open", without waiting.
Result StartProduct() noexcept;

// Starts `program` again with the child's switches ("runas" unless this
// process is elevated already, then "open"), the elevation prompt owned by
// `owner` (a platform window), waits for it and gives its exit code. A refused prompt or a child that did not start gives the
// refusal's code and exit code 0.
Result RelaunchElevated(const String& program, void* owner, uint32_t& exit_code) noexcept;

}  // namespace vorn
