// The program's App Paths entry, through which the shell finds it by its
// file name alone (Windows only; elsewhere 2).
#pragma once

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// The key below the local machine's root for a program path.
String AppPathsKey(const String& program_path) noexcept;
// Writes the entry afresh: the default value is the program path, "Path" its
// folder. The first failure, else 0.
Result RegisterAppPaths(const String& program_path) noexcept;
// Deletes the entry; 0 whether or not it existed.
Result UnregisterAppPaths(const String& program_path) noexcept;

}  // namespace vorn
