#include "ui/hyperlink_address.h"

#include "ui/control_defaults_values.h"
#include "ui/window_id.h"

namespace vorn {

namespace {

// Mail clients split the query at blanks and read "%" as an escape: both
// are written as escapes themselves.
String EscapeMailField(const String& field) noexcept {
  String escaped;
  for (uint32_t i = 0; i < field.Length(); ++i) {
    const char16_t unit = field[i];
    if (unit == u'%') {
      escaped += u"%25";
    } else if (unit == u' ') {
      escaped += u"%20";
    } else {
      escaped += unit;
    }
  }
  return escaped;
}

bool StartsWith(const String& text, const char16_t* prefix, bool ignore_case) noexcept {
  for (uint32_t i = 0; prefix[i]; ++i) {
    if (i >= text.Length()) return false;
    char16_t unit = text[i];
    if (ignore_case && unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + 32);
    if (unit != prefix[i]) return false;
  }
  return true;
}

}  // namespace

String MailtoAddress(const String& address, const String& subject, const String& body) noexcept {
  // A scheme is case-insensitive: "MAILTO:" is already one.
  String mail = StartsWith(address, u"mailto:", true) ? address : u"mailto:" + address;
  if (!subject.IsEmpty() || !body.IsEmpty()) {
    mail += u"?subject=" + EscapeMailField(subject) + u"&body=" + EscapeMailField(body);
  }
  return mail;
}

LinkOpening HyperlinkOpening(const String& address, const String& subject,
                             const String& body) noexcept {
  LinkOpening opening;
  if (address.Find(u'@') >= 0) {
    opening.target = MailtoAddress(address, subject, body);
  } else if (address.Find(u':') >= 0) {
    opening.target = address;
  } else {
    opening.action = LinkAction::kNavigate;
    opening.target = address;
  }
  return opening;
}

LinkOpening RichEditLinkOpening(const String& target) noexcept {
  LinkOpening opening;
  if (StartsWith(target, u"cmd:", false)) {
    opening.action = LinkAction::kPostCommand;
    opening.target = target.Tail(4);
    opening.command = WindowIdOf(opening.target.Text());
  } else if (target.Find(u'@') >= 0) {
    opening.target = MailtoAddress(target, String(), String());
  } else {
    opening.target = target;
  }
  return opening;
}

}  // namespace vorn
