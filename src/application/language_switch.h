// The `Language` switch: its value names the language the program's texts
// are shown in. The localized strings install the setter at start-up.
#pragma once

#include "foundation/result.h"

namespace vorn {

// Makes a language (a name such as "fr") the chosen one: 0 when it is
// known, else its code; the language stays as it was on failure.
using ChosenLanguageSetter = Result (*)(const char16_t* language);
void SetChosenLanguageSetter(ChosenLanguageSetter setter) noexcept;

// Looks the switch up (marking it used) and hands its value to the setter:
// 29 without the switch, 4 when no setter is installed, else the setter's
// result.
Result ApplyLanguageSwitch() noexcept;

}  // namespace vorn
