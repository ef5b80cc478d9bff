#include <cstdlib>

#include "foundation/string.h"
#include "resources/languages.h"

namespace vorn {

// LC_ALL overrides LANG, as for every other program; a value such as
// "fr_FR.UTF-8" names the language by its first two letters. "C" and
// "POSIX" name none.
uint32_t UserLocaleLanguage() noexcept {
  const char* value = std::getenv("LC_ALL");
  if (!value || !*value) value = std::getenv("LANG");
  if (!value || !value[0] || !value[1]) return kAnyLanguage;
  if (value[2] != '\0' && value[2] != '_' && value[2] != '.' && value[2] != '@') {
    return kAnyLanguage;
  }
  const char16_t name[3] = {static_cast<char16_t>(static_cast<unsigned char>(value[0])),
                            static_cast<char16_t>(static_cast<unsigned char>(value[1])), 0};
  return name[0] == u'*' ? kAnyLanguage : LanguageIndex(name);
}

}  // namespace vorn
