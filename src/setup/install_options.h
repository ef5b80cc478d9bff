// The rules of the options page: which install folder and program group
// the installer accepts. Both are checked on every keystroke; a text that
// fails only disables the install button.
#pragma once

#include "foundation/string.h"

namespace vorn {

// A valid path, not ending with a separator, absolute with its drive
// ("C:\..."). A separator must follow the drive: "C:Folder" would be
// resolved against whatever that drive's current folder is. No segment may
// be "." or ".." (or only dots), which would place the product somewhere
// other than the folder shown.
bool IsValidInstallFolder(const String& folder) noexcept;

// A valid path, not ending with a separator, relative (no leading
// separator, no drive), and without dot segments: the group is a folder
// inside the Programs menu and must stay there, since the uninstallation
// removes it again.
bool IsValidProgramGroup(const String& group) noexcept;

// Both valid: the install button may be pressed.
bool InstallOptionsValid(const String& folder, const String& group) noexcept;

// What typing after picking an existing group from the list makes of it:
// the new product gets its own folder inside the picked one.
String GroupInsidePicked(const String& picked, const String& display_name) noexcept;

}  // namespace vorn
