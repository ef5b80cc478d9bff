#include "resources/languages.h"

#include "foundation/string.h"

namespace vorn {
namespace {

const char16_t* const kNames[kLanguageCount] = {u"*",  u"en", u"fr", u"es", u"pt", u"ru",
                                                u"de", u"it", u"zh", u"ar", u"ja", u"ko"};

struct PrimaryLanguage {
  uint32_t id;
  uint32_t index;
};
const PrimaryLanguage kPrimaryLanguages[] = {{0x09, 1}, {0x0C, 2},  {0x0A, 3}, {0x16, 4},
                                             {0x19, 5}, {0x07, 6},  {0x10, 7}, {0x04, 8},
                                             {0x01, 9}, {0x11, 10}, {0x12, 11}};

}  // namespace

const char16_t* LanguageName(uint32_t index) noexcept {
  return index < kLanguageCount ? kNames[index] : kNames[kAnyLanguage];
}

uint32_t LanguageIndex(const char16_t* name) noexcept {
  if (!name) return kAnyLanguage;
  const String text(name);
  for (uint32_t i = 0; i < kLanguageCount; ++i) {
    if (text.EqualsIgnoringCase(kNames[i])) return i;
  }
  return kAnyLanguage;
}

bool IsKnownLanguage(const char16_t* name) noexcept {
  return name && (LanguageIndex(name) != kAnyLanguage || String(name) == u"*");
}

uint32_t LanguageFromPrimaryId(uint32_t primary_id) noexcept {
  for (const PrimaryLanguage& language : kPrimaryLanguages) {
    if (language.id == primary_id) return language.index;
  }
  return kAnyLanguage;
}

}  // namespace vorn
