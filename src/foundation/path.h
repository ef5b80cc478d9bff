// Path text operations. Paths are Strings in which '/' and '\' are both
// separators; none of these functions touches the file system.
#pragma once

#include <cstdint>

#include "foundation/string.h"

namespace vorn {
namespace path {

inline bool IsSeparator(char16_t unit) noexcept {
  return unit == u'/' || unit == u'\\';
}

// Trims white space at both ends, then turns every separator into the first
// separator that occurs in the path.
String NormalizeSeparators(const String& path) noexcept;
// The text after the last separator (the whole path when there is none).
String FileName(const String& path) noexcept;
// The file name up to its first '.'.
String FileNameWithoutExtension(const String& path) noexcept;
// The text up to and including the last separator (empty when there is none).
String FolderPart(const String& path) noexcept;
// Index of the first '.' after the last separator, or the length.
uint32_t ExtensionIndex(const String& path) noexcept;
// True when the last unit is a separator.
bool EndsWithSeparator(const String& path) noexcept;
// False for a path that starts with a separator or with a letter and ':'.
bool IsRelative(const String& path) noexcept;
// True for a letter and ':' not followed by a separator ("C:", "C:.\",
// "C:x"): Windows resolves it against the current folder of that drive.
bool IsDriveRelative(const String& path) noexcept;
// False for the empty path, for '"', '*', '<', '>', '?', '|' or a 0 unit
// anywhere, for a ':' anywhere but at index 1 after a letter, and for two
// separators in a row of either kind ("\\", "//", "\/"), which rules out
// network paths.
bool IsValid(const String& path) noexcept;
// Two folder paths are the same when they are equal after ASCII lower-casing,
// trimming and turning '\' into '/'.
bool SameFolder(const String& a, const String& b) noexcept;
// A folder path always ends with a separator: when the path ends with none,
// a '\' is appended if the path contains a '\', otherwise a '/'.
String WithTrailingSeparator(const String& path) noexcept;

}  // namespace path
}  // namespace vorn
