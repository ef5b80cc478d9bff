#include "application/language_switch.h"

#include "application/command_line.h"

namespace vorn {

namespace {

ChosenLanguageSetter chosen_language_setter = nullptr;  // main thread only

}  // namespace

void SetChosenLanguageSetter(ChosenLanguageSetter setter) noexcept {
  chosen_language_setter = setter;
}

Result ApplyLanguageSwitch() noexcept {
  const CommandLineToken* token = CommandLine::Get().FindSwitch(u"Language");
  if (token == nullptr) return kNotFound;
  if (chosen_language_setter == nullptr) return kNotOpen;
  return chosen_language_setter(token->switch_value.Text());
}

}  // namespace vorn
