// File types and URL protocols of a program, from its "FileTypes" and
// "CustomProtocols" resource elements, registered with the shell (the
// classes root) together with the program's App Paths entry, or removed.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class ResourceManager;

// Whose file types are (un)registered: the elements come from `resources`,
// the commands start `program_path`, the ProgIDs begin with `name`.
struct FileTypeOwner {
  ResourceManager* resources = nullptr;
  String program_path;
  String name;
  bool elevated = false;  // writing the classes root needs administrator rights
};

// This process: its resource manager, the application's program path and
// Name, and the process token's elevation.
FileTypeOwner ProcessFileTypeOwner() noexcept;

// Registers (or removes) the process's file types and protocols. Without
// administrator rights it gives 17 and writes nothing, unless it may relaunch:
// then the preferences are saved and the program runs itself elevated with
// "/RegisterFileTypes" or "/UnregisterFileTypes", and the child's exit code
// is the result. Registering also writes the App Paths entry (its result is
// ignored); removing leaves it. 6 for an entry without a required attribute
// (the entries before it stay done); otherwise the first registry failure.
Result RegisterFileTypes(bool register_types, bool may_relaunch) noexcept;
Result RegisterFileTypes(const FileTypeOwner& owner, bool register_types,
                         bool may_relaunch) noexcept;

// The registry texts, shared by both platforms so that tests can read them.
// Name followed directly by the extension (which keeps its dot).
String FileTypeProgId(const String& name, const String& extension) noexcept;
// The key the shell makes for an extension by itself: the extension without
// its first character, then "_auto_file".
String AutoFileKey(const String& extension) noexcept;
// "\"P\",I"
String FileTypeIcon(const String& program_path, int32_t icon_index) noexcept;
// "\"P\" " + command + "\"%1\"" (no blank between the command and "%1"),
// which for file types (an empty command) is "\"P\" \"%1\"".
String OpenCommandText(const String& program_path, const String& command) noexcept;

}  // namespace vorn
