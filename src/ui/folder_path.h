// The folder picker's platform-free half: its flags and what becomes of the
// path the user chose.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// File-system folders only, the new dialog style and validation; without
// the new-folder button also the flag that hides it.
constexpr uint32_t kFolderPickerFlags = 0x161;
constexpr uint32_t kFolderPickerNoNewFolderButton = 0x200;
uint32_t FolderPickerFlags(bool new_folder_button) noexcept;

// The picker's outcome as its caller sees it. Cancelled: 8 and an empty
// path. A chosen item without a file-system path: 7 and an empty path (a
// lone backslash would read as the root of the current drive). Otherwise 0
// and the path ending with one separator: "\" is appended unless it already
// ends with "\" or "/".
Result FolderPickerResult(bool chosen, const String& chosen_path, String& path) noexcept;

// What the folder picker is asked.
struct FolderPickerOptions {
  void* owner = nullptr;      // the parent's platform window
  String prompt;              // shown above the tree: the dialog's title
  String initial_path;        // selected when the picker opens, if set
  bool desktop_root = false;  // the desktop, else the computer's drives
  bool new_folder_button = true;
};

// Runs the shell's folder picker, file-system folders only: OK is disabled
// while an item without a file-system path is selected. 0 and the folder
// (see FolderPickerResult), 8 when cancelled, 7 when the root cannot be
// obtained; 2 without a window system.
Result RunFolderPicker(const FolderPickerOptions& options, String& path) noexcept;

}  // namespace vorn
