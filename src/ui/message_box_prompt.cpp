#include "ui/message_box_prompt.h"

#include "application/user_prompt.h"
#include "ui/message_box.h"

namespace vorn {

namespace {

class MessageBoxPrompt final : public UserPrompt {
 public:
  PromptAnswer Show(const char16_t* message, const String& argument) noexcept override {
    switch (ShowMessageBox(message, argument)) {
      case kMessageBoxYes: return PromptAnswer::kYes;
      case kMessageBoxNo: return PromptAnswer::kNo;
      case kMessageBoxOK: return PromptAnswer::kOk;
      case kMessageBoxCancel: return PromptAnswer::kCancel;
      // A box that could not be shown is a refusal: nothing that needed the
      // user's consent goes ahead without it.
      default: return PromptAnswer::kCancel;
    }
  }
};

}  // namespace

void UseMessageBoxesForUserPrompts() noexcept {
  static MessageBoxPrompt prompt;
  SetUserPrompt(&prompt);
}

}  // namespace vorn
