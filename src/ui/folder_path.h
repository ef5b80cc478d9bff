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

}  // namespace vorn
