// How the framework asks or tells the user something ("UninstallConfirmation",
// "NotInstalled", ...): by the name of the message and its one argument. The
// window toolkit, a layer above, installs the real message boxes here; a
// program without it shows nothing, which callers treat like a quiet run.
#pragma once

#include <cstdint>

#include "foundation/string.h"

namespace vorn {

enum class PromptAnswer : uint32_t {
  kNotShown = 0,  // no prompt installed, or it could not show the message
  kOk = 1,
  kYes = 2,
  kNo = 3,
  kCancel = 4,
};

class UserPrompt {
 public:
  // Shows the message named `message` (a localized key that also names its
  // buttons), filled with `argument` as {0}, and gives the user's answer.
  virtual PromptAnswer Show(const char16_t* message, const String& argument) noexcept = 0;

 protected:
  ~UserPrompt() = default;
};

// The prompt stays borrowed; null removes it.
void SetUserPrompt(UserPrompt* prompt) noexcept;
UserPrompt* InstalledUserPrompt() noexcept;

// The installed prompt's answer, or kNotShown without one.
PromptAnswer ShowUserMessage(const char16_t* message, const String& argument) noexcept;

}  // namespace vorn
