#include "application/language_switch.h"

#include "application/command_line.h"
#include "resources/localized_text.h"

namespace vorn {

Result ApplyLanguageSwitch() noexcept {
  const CommandLineToken* token = CommandLine::Get().FindSwitch(u"Language");
  if (token == nullptr) return kNotFound;
  return SetChosenLanguage(token->switch_value.Text());
}

}  // namespace vorn
