// Starting programs through the shell, elevated when needed (Windows only).
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

// The window that owns the shell's prompts for runs that wait (the
// application's main window); null until the window toolkit sets it.
void SetShellRunOwnerWindow(void* window) noexcept;
void* ShellRunOwnerWindow() noexcept;

// Runs file with parameters through the shell's verb ("open", "runas"; null
// for the file's default). With wait, blocks until the started process ends
// and returns its exit code (0 when the shell gave no process or the code
// cannot be read); without wait returns 0 once the program has started. A
// null file gives 5; a refusal by the shell its mapped system error (8 when
// the user declined the elevation prompt).
Result ShellRun(const char16_t* file, const char16_t* parameters, bool wait,
                const char16_t* verb) noexcept;

// ShellRun that keeps the shell's outcome apart from the started program's
// exit code: the result is 0 once the program ran (exit_code then holds what
// it returned), else the refusal's code (exit_code 0).
Result ShellRunForExitCode(const char16_t* file, const char16_t* parameters, bool wait,
                           const char16_t* verb, uint32_t& exit_code) noexcept;

// ShellRun with wait, with the verb "open" when this process is elevated
// already and "runas" otherwise.
Result ShellRunElevated(const char16_t* file, const char16_t* parameters) noexcept;

// True when the process runs with administrator rights: always before Vista;
// otherwise the token's elevation flag, true when it cannot be read.
bool IsElevated() noexcept;

}  // namespace vorn
