#include "application/user_prompt.h"

namespace vorn {

namespace {

UserPrompt* installed_prompt = nullptr;

}  // namespace

void SetUserPrompt(UserPrompt* prompt) noexcept {
  installed_prompt = prompt;
}

UserPrompt* InstalledUserPrompt() noexcept {
  return installed_prompt;
}

PromptAnswer ShowUserMessage(const char16_t* message, const String& argument) noexcept {
  if (installed_prompt == nullptr) return PromptAnswer::kNotShown;
  return installed_prompt->Show(message, argument);
}

}  // namespace vorn
