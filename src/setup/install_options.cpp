#include "setup/install_options.h"

#include "foundation/path.h"

namespace vorn {

namespace {

// A segment made of dots only: "." and ".." move through the tree, and the
// system strips trailing dots, so "..." names the folder itself.
bool HasDotSegment(const String& text) noexcept {
  const uint32_t length = text.Length();
  uint32_t start = 0;
  for (uint32_t i = 0; i <= length; ++i) {
    if (i < length && !path::IsSeparator(text[i])) continue;
    bool only_dots = i > start;
    for (uint32_t j = start; j < i && only_dots; ++j) only_dots = text[j] == u'.';
    if (only_dots) return true;
    start = i + 1;
  }
  return false;
}

// Valid, not ending with a separator, no dot segment.
bool IsPlainPath(const String& text) noexcept {
  return path::IsValid(text) && !path::EndsWithSeparator(text) && !HasDotSegment(text);
}

}  // namespace

bool IsValidInstallFolder(const String& folder) noexcept {
  if (!IsPlainPath(folder)) return false;
  // path::IsValid allows ':' only at index 1 after a letter.
  return folder.Length() > 3 && folder[1] == u':' && path::IsSeparator(folder[2]);
}

bool IsValidProgramGroup(const String& group) noexcept {
  return IsPlainPath(group) && path::IsRelative(group);
}

bool InstallOptionsValid(const String& folder, const String& group) noexcept {
  return IsValidInstallFolder(folder) && IsValidProgramGroup(group);
}

String GroupInsidePicked(const String& picked, const String& display_name) noexcept {
  return picked + u"\\" + display_name;
}

}  // namespace vorn
