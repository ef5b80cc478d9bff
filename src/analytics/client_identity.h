// What identifies this user and machine to the analytics: the client id kept
// in the registry, the user's language and the primary screen's size.
#pragma once

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// The text of the client id stored as "cid" under the current user's
// "Software\" + company key. A missing, malformed or all-zero id is replaced
// by a new random GUID, which is stored. 6 for an empty company name, 7
// when no GUID can be made, 2 where there is no registry.
Result LoadClientId(const String& company, String& client_id) noexcept;

// The user's locale name in lower case ("fr-fr"); empty when unknown.
String UserLanguage() noexcept;
// The primary monitor as "{width}x{height}"; empty when unknown.
String ScreenResolution() noexcept;

}  // namespace vorn
