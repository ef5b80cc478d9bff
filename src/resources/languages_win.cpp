#include <windows.h>

#include "resources/languages.h"

namespace vorn {

uint32_t UserLocaleLanguage() noexcept {
  return LanguageFromPrimaryId(static_cast<uint32_t>(GetUserDefaultLCID()) & 0x3FF);
}

}  // namespace vorn
