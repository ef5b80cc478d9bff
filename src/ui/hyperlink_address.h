// What following a link does: the hyperlink control's address with its
// optional mail subject and body, and a rich edit's link target.
#pragma once

#include <cstdint>

#include "foundation/string.h"

namespace vorn {

enum class LinkAction : uint32_t {
  kShellOpen,    // open `target` with the shell's "open" verb
  kNavigate,     // a relative address inside the program: the parent navigates
  kPostCommand,  // post `command` to the application's main window
};

struct LinkOpening {
  LinkAction action = LinkAction::kShellOpen;
  String target;
  uint16_t command = 0;
};

// "mailto:" in front unless the address has it; with a subject or a body,
// "?subject=" and "&body=" follow, each with "%" as "%25" and blanks as
// "%20".
String MailtoAddress(const String& address, const String& subject, const String& body) noexcept;

// A hyperlink's address: with "@" an e-mail address, with ":" a URL opened
// as it is, anything else navigated inside the program.
LinkOpening HyperlinkOpening(const String& address, const String& subject,
                             const String& body) noexcept;

// A rich edit's link: "cmd:" and a command name posts that command; with "@"
// an e-mail address; anything else is opened by the shell.
LinkOpening RichEditLinkOpening(const String& target) noexcept;

}  // namespace vorn
