// The fixed table of language names the resources are keyed by. Index 0,
// "*", means any language.
#pragma once

#include <cstdint>

namespace vorn {

constexpr uint32_t kLanguageCount = 12;
constexpr uint32_t kAnyLanguage = 0;
constexpr uint32_t kDefaultLanguage = 1;  // "en"
// The chosen-language cache before the preference has been read.
constexpr uint32_t kLanguageNotRead = 13;

// The name of an index; "*" for an index beyond the table.
const char16_t* LanguageName(uint32_t index) noexcept;
// The index of a name, compared without regard to case; 0 for null or a
// name not in the table.
uint32_t LanguageIndex(const char16_t* name) noexcept;
// Whether the name is one of the table's, "*" included.
bool IsKnownLanguage(const char16_t* name) noexcept;
// The language of a primary language identifier (the low 10 bits of a
// Windows locale identifier); 0 when it is not one of the table's.
uint32_t LanguageFromPrimaryId(uint32_t primary_id) noexcept;

// The language of the user's default locale, 0 when it is not in the table.
// Platform code: the default locale identifier on Windows, the locale
// variables elsewhere.
uint32_t UserLocaleLanguage() noexcept;

}  // namespace vorn
