// Preference paths and where they live in the store. A path begins with
// "/User/Global/", "/User/Local/", "/System/Global/" or "/System/Local/"
// (the user's or the machine's root, subkey "Global" or "Local"); the rest
// up to its last '/' is the key below that, its last segment the value:
// "/User/Global/InstallOptions/CreateDesktopShortcut" is the value
// CreateDesktopShortcut in registry root + "Global\InstallOptions".
#pragma once

#include "foundation/result.h"
#include "foundation/string.h"
#include "resources/preference_store.h"

namespace vorn {

// 31 for a null path, one without a prefix (matched in full), an empty
// segment or no value name.
Result MapPreferencePath(const String& registry_root, const char16_t* path,
                         PreferenceLocation& location) noexcept;
// The key that holds the values below a container path such as
// "/User/Global" or "/User/Global/InstallOptions" (location.name stays
// empty); 31 when the container is above the four prefixes.
Result MapPreferenceContainer(const String& registry_root, const String& path,
                              PreferenceLocation& location) noexcept;

}  // namespace vorn
