// Localized texts. A text that begins with '#' names a "String" entry of
// the string files ("#OKButton"); "##" writes a literal leading '#'; any
// other text is shown as it is. A missing entry shows
// "<Localized Text: " + key + ">" so that the gap is visible.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class ResourceManager;

// 36 for a null text (empty result) or a missing key (the marker text); 7
// when the entry's text cannot be read (empty result).
Result LocalizeText(const char16_t* text, String& result) noexcept;
Result LocalizeText(ResourceManager& resources, const char16_t* text, String& result) noexcept;

// The string every caption, label, tooltip and title is built with: the
// localized text, whatever the code.
String LocalizedString(const char16_t* text) noexcept;

// The chosen language's index (read once from "/User/Global/Language").
uint32_t ChosenLanguage() noexcept;
// What the Language switch calls: a table language other than "*" becomes
// the chosen language for this and later runs; anything else gives 5 and
// changes nothing.
Result SetChosenLanguage(const char16_t* name) noexcept;

}  // namespace vorn
