// Special folder locations and new temporary files, by number:
//   0, 1  the temporary folder ("./" when the system gives none usable)
//   2     a new, unique temporary file (prefix "vnl") in the temporary folder
//   3     the program files folder
//   4     the common application data folder, else the user's
//   5     the common desktop folder, else the user's
//   6     the common programs menu folder, else the user's
//   7     the user's application data folder
//   8     the user's desktop folder
//   9     the user's documents folder
//   10    folder 7 + "Microsoft\Internet Explorer\Quick Launch\"
// Every path has normalized separators; folders end with a separator.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

enum SpecialFolderNumber : uint32_t {
  kTemporaryFolder = 0,
  kTemporaryFolderToo = 1,
  kNewTemporaryFile = 2,
  kProgramFilesFolder = 3,
  kApplicationDataFolder = 4,
  kDesktopFolder = 5,
  kProgramsMenuFolder = 6,
  kUserApplicationDataFolder = 7,
  kUserDesktopFolder = 8,
  kUserDocumentsFolder = 9,
  kQuickLaunchFolder = 10,
};

// 0 with the path; 5 for an unknown number, the system's refusal (29 when it
// has no such folder, 2 where the platform has none) or the mapped error of
// the temporary file's creation, each with an empty path.
Result GetSpecialFolder(uint32_t number, String& path) noexcept;

}  // namespace vorn
