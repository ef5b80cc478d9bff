// The `Language` switch: its value names the language the program's texts
// are shown in, for this run and the later ones.
#pragma once

#include "foundation/result.h"

namespace vorn {

// Looks the switch up (marking it used) and makes its value the chosen
// language of the localized strings: 29 without the switch, 5 for a value
// that names no language of the table (nothing changes then), else 0.
Result ApplyLanguageSwitch() noexcept;

}  // namespace vorn
