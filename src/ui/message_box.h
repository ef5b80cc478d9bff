// Message boxes described in XML ("MessageBox" elements of the resources):
// a type, localized texts (header, body, details, footer, or all four in one
// "Message" separated by U+00A4) that may hold format placeholders, and a set
// of standard buttons. Reading, formatting, choosing the button set and
// mapping the answer back are done here; only the display itself is a
// platform call, behind MessageBoxDisplay.
//
// Every failure answers 5, the same as a refusal: callers never have to tell
// "the box could not be shown" from "the user said no".
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class ResourceManager;
class XmlElement;

// The answer: the index of the pressed button.
enum MessageBoxButton : uint32_t {
  kMessageBoxYes = 0,
  kMessageBoxNo = 1,
  kMessageBoxOK = 2,
  kMessageBoxCancel = 3,
  kMessageBoxRetry = 4,
  kMessageBoxAbort = 5,
  kMessageBoxIgnore = 6,
};
constexpr uint32_t kMessageBoxButtonCount = 7;
// No button marked as the default.
constexpr uint32_t kMessageBoxNoDefault = 8;
// Every failure, quiet mode, and the Abort button alike.
constexpr uint32_t kMessageBoxRefused = 5;
// A custom button's identifier is this plus its index.
constexpr int32_t kMessageBoxFirstButtonId = 4096;

// The box's type, which is also its main icon; footer icons use 2 to 4.
enum class MessageBoxType : uint32_t {
  kSimple = 1,  // no icon
  kInformation = 2,
  kWarning = 3,
  kError = 4,
};

// The platform's plain message-box button sets (their Windows numbers).
enum class MessageBoxButtonSet : uint32_t {
  kOK = 0,
  kOKCancel = 1,
  kAbortRetryIgnore = 2,
  kYesNoCancel = 3,
  kYesNo = 4,
  kRetryCancel = 5,
};

// The platform's answers (the Windows dialog identifiers).
enum : int32_t {
  kPlatformAnswerOK = 1,
  kPlatformAnswerCancel = 2,
  kPlatformAnswerAbort = 3,
  kPlatformAnswerRetry = 4,
  kPlatformAnswerIgnore = 5,
  kPlatformAnswerYes = 6,
  kPlatformAnswerNo = 7,
};

// A description as read, texts localized but not yet formatted.
struct MessageBoxDescription {
  MessageBoxType type = MessageBoxType::kSimple;
  bool command_links = false;
  String title;
  bool has_message = false;
  String message;
  String header;
  String body;
  String details;
  String footer;
  MessageBoxType footer_icon = MessageBoxType::kInformation;
  uint32_t present_buttons = 0;  // bit i: button i is present
  String labels[kMessageBoxButtonCount];
  uint32_t default_button = kMessageBoxNoDefault;
};

// Reads a "MessageBox" element: 5 for a missing or unknown "Type" or a button
// without text, 15 for a null element. Texts are localized with `resources`.
Result ReadMessageBoxDescription(ResourceManager& resources, const XmlElement* element,
                                 MessageBoxDescription& description) noexcept;

// One button as the platform shows it.
struct MessageBoxButtonLabel {
  int32_t id = 0;  // kMessageBoxFirstButtonId + index
  uint32_t index = 0;
  String label;
};

// What the display gets: the formatted parts, the buttons in their set's
// order, and the plain fallback's text.
struct MessageBoxRequest {
  String caption;
  MessageBoxType type = MessageBoxType::kSimple;
  bool command_links = false;
  String header;
  String body;
  String details;
  String footer;
  MessageBoxType footer_icon = MessageBoxType::kInformation;
  MessageBoxButtonSet button_set = MessageBoxButtonSet::kOK;
  uint32_t button_count = 0;
  MessageBoxButtonLabel buttons[3];
  int32_t default_id = 0;         // the default button's identifier
  uint32_t default_position = 0;  // and its place among the buttons, from 0
  // OK alone, or a set with Cancel: Escape and the close button dismiss it.
  bool cancellable = false;
  // The non-empty parts, two line feeds apart, links replaced by targets.
  String plain_text;
};

// Builds the request from a description: the caption is `caption_base`,
// followed by " - " and the title when there is one; each part is formatted
// with the one argument. 5 when the buttons form no set of the table.
Result ComposeMessageBox(const MessageBoxDescription& description, const String& caption_base,
                         const String& argument, MessageBoxRequest& request) noexcept;

// Each a element (<a href="target">text</a>) replaced by its target.
String ReplaceLinksByTargets(const String& text) noexcept;

// The answers mapped to button indexes; 5 for anything else.
uint32_t TaskDialogAnswer(const MessageBoxRequest& request, int32_t answer) noexcept;
uint32_t PlainMessageBoxAnswer(int32_t answer) noexcept;

// The platform half. The owner is a platform window handle or null.
class MessageBoxDisplay {
 public:
  // 0 and the platform's answer, or 2 when the platform has no task dialog
  // (the plain box is used then), or another code when the call failed.
  virtual Result ShowTaskDialog(void* owner, const MessageBoxRequest& request,
                                int32_t& answer) noexcept = 0;
  virtual Result ShowPlainMessageBox(void* owner, const MessageBoxRequest& request,
                                     int32_t& answer) noexcept = 0;
  // The owner's title, for the caption.
  virtual String WindowTitle(void* window) noexcept = 0;

 protected:
  ~MessageBoxDisplay() = default;
};

// The system's display: the task dialog when the common controls have it,
// else the plain message box. Without a window system both give 2.
MessageBoxDisplay& SystemMessageBoxDisplay() noexcept;
// The system's plain message box alone, as on systems without the task
// dialog.
MessageBoxDisplay& PlainMessageBoxDisplay() noexcept;

// Who the box is for.
struct MessageBoxOwner {
  void* window = nullptr;   // its title starts the caption
  String application_name;  // the caption when there is no window
  bool quiet = false;       // nothing is shown and the answer is 5
};

// Shows the description `name` with the one format argument and answers the
// pressed button's index, or 5 for quiet mode and every failure.
uint32_t ShowMessageBox(ResourceManager& resources, MessageBoxDisplay& display,
                        const MessageBoxOwner& owner, const char16_t* name,
                        const String& argument) noexcept;

// The same for the running application: its resources and quiet flag, its
// main window as owner (none when it has no system window), its name.
uint32_t ShowMessageBox(const char16_t* name, const String& argument) noexcept;

}  // namespace vorn
