// The uninstallation: a program built on the framework removes its own
// installation (what the installer recorded under its uninstall entry) when
// started with "/Uninstall" (interactive) or "/Update" (update mode, run by a
// newer installer before it copies its files). In interactive mode a
// self-deleting batch file removes the program file and its folder once the
// program has ended.
#pragma once

#include <cstdint>

#include "foundation/guid.h"
#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

struct ApplicationDescription;

// Where the installer keeps every product's entry, below the local machine.
inline constexpr const char16_t* kUninstallRoot =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Removes this process's installation: 0 done, 4 not installed, 8 declined
// by the user, 14 the product is running (interactive mode only). Messages
// go through the user prompt and are not shown when the application is
// quiet; a quiet run asks nothing. Failures while removing are passed over.
Result Uninstall(bool update_mode) noexcept;

// "{" + UUID text + "}", the entry's key name.
String UninstallEntryName(const Guid& uuid) noexcept;
// Name, a no-break space, Version, then " " + Tag when there is one.
String UninstallTitle(const ApplicationDescription& description) noexcept;

// The batch text from the short forms of the install folder (with its
// trailing separator), the program and the batch file itself; lines end in
// CR LF, the last one without. An empty folder leaves out the two lines that
// empty and remove it, so that only the program and the batch are deleted.
// A program in a subfolder of the install folder has the folders between
// removed (when empty) before the install folder. A company folder (short
// form, above the install folder) is removed after it, when empty; an empty
// one, or one that does not hold the install folder, adds no line.
String UninstallBatchText(const String& folder, const String& program, const String& batch,
                          const String& company_folder = String()) noexcept;
// The folder of the install folder path that is named the company (with its
// trailing separator), where the company is a whole folder name of the
// path; empty otherwise, and for an empty company.
String CompanyFolderOf(const String& install_folder_path, const String& company) noexcept;
// Whether a folder may be emptied by the batch's wildcard: an absolute path
// on a drive ("X:\"), below its root, without "." or ".." segments, ending
// with a separator.
bool IsRemovableInstallFolder(const String& folder) noexcept;
// Whether a recorded file names something inside the install folder: not
// empty, relative, without ':' and without ".." segments.
bool IsInstallRelativePath(const String& path) noexcept;
// Whether a recorded shortcut names a ".lnk" file (any case).
bool IsShortcutFile(const String& path) noexcept;

// Writes the batch file for this folder and program next to a new temporary
// file and gives its path. A folder that IsRemovableInstallFolder refuses, or
// that has no short form, is left out of the batch. The company's folder
// above the install folder (CompanyFolderOf) is removed when the batch has
// left it empty. Windows only.
Result WriteUninstallBatch(const String& install_folder, const String& program_path,
                           const String& name, const String& company,
                           String& batch_path) noexcept;

}  // namespace vorn
