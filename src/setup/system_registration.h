// Recording an installation with Windows once its files are in place: the
// uninstall entry with the list of files, the product's own file-type
// registration ("/Install"), the shortcuts and their list. Runs on the
// caller's thread, which must have initialised COM (the shortcuts are shell
// link objects).
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class InstallationSettings;

// The four steps in order; the first failing one ends the registration
// with its code. Only the program-group shortcuts can fail it: failures of
// single values, of the desktop and quick-launch shortcuts and of the
// product's own run are passed over.
Result RegisterInstallation(InstallationSettings& settings) noexcept;

// Step 1: the uninstall entry's values in their fixed order, "FilesList",
// then the product executable run with "/Install" (waited for).
Result WriteUninstallEntry(InstallationSettings& settings) noexcept;
// Step 2: the Programs-menu folder of the program group with the main
// shortcut and one per shortcut entry; the first failure is the result.
Result CreateProgramGroupShortcuts(InstallationSettings& settings) noexcept;
// Step 3: the desktop and quick-launch shortcuts the install options ask
// for (the quick-launch folder is not created). Always 0.
Result CreateOptionalShortcuts(InstallationSettings& settings) noexcept;
// Step 4: "ShortcutsList" with every shortcut made, in order. Always 0.
Result WriteShortcutList(InstallationSettings& settings) noexcept;

// The shortcut folder + name + ".lnk" starting target: 31 for an empty
// folder or target, 38 for an empty name, 7 when the shell link cannot be
// made or saved. On success its path is added to the created shortcuts.
Result CreateShortcut(InstallationSettings& settings, const String& folder, const String& name,
                      const String& target, const char16_t* description) noexcept;

// "YYYYMMDD", the form of "InstallDate".
String InstallDateText(uint32_t year, uint32_t month, uint32_t day) noexcept;

}  // namespace vorn
