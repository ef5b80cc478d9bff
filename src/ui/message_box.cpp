#include "ui/message_box.h"

#include "foundation/format.h"
#include "resources/localized_text.h"
#include "resources/resource_manager.h"
#include "ui/control_defaults_values.h"
#include "xml/xml_element.h"

namespace vorn {

namespace {

constexpr char16_t kPartSeparator = u'\u00A4';

// Whether `literal` starts at `at`, before `end`.
bool StartsAt(const char16_t* at, const char16_t* end, const char16_t* literal) noexcept {
  for (; *literal; ++literal, ++at) {
    if (at == end || *at != *literal) return false;
  }
  return true;
}

// "Information", "Warning" or "Error"; false for anything else.
bool ReadIconName(const char16_t* text, MessageBoxType& icon) noexcept {
  if (SameAttributeText(text, u"Information")) {
    icon = MessageBoxType::kInformation;
  } else if (SameAttributeText(text, u"Warning")) {
    icon = MessageBoxType::kWarning;
  } else if (SameAttributeText(text, u"Error")) {
    icon = MessageBoxType::kError;
  } else {
    return false;
  }
  return true;
}

bool ReadType(const char16_t* text, MessageBoxType& type) noexcept {
  if (SameAttributeText(text, u"Simple")) {
    type = MessageBoxType::kSimple;
    return true;
  }
  return ReadIconName(text, type);
}

// The element's text (its markup when it holds elements, so that links stay
// in it), localized.
String LocalizedContent(ResourceManager& resources, const XmlElement& element) noexcept {
  String raw;
  if (element.ReadText(&raw) != kOk) return String();
  String text;
  LocalizeText(resources, raw.Text(), text);
  return text;
}

constexpr const char16_t* kButtonNames[kMessageBoxButtonCount] = {
    u"Yes", u"No", u"OK", u"Cancel", u"Retry", u"Abort", u"Ignore"};

int32_t ButtonIndex(const char16_t* name) noexcept {
  for (uint32_t i = 0; i < kMessageBoxButtonCount; ++i) {
    if (SameAttributeText(name, kButtonNames[i])) return static_cast<int32_t>(i);
  }
  return -1;
}

// One row of the button-set table: the buttons in the order the platform
// shows them, and the default when none is marked.
struct ButtonSetRow {
  MessageBoxButtonSet set;
  uint32_t count;
  uint32_t buttons[3];
};

constexpr ButtonSetRow kButtonSets[] = {
    {MessageBoxButtonSet::kYesNo, 2, {kMessageBoxYes, kMessageBoxNo, 0}},
    {MessageBoxButtonSet::kOK, 1, {kMessageBoxOK, 0, 0}},
    {MessageBoxButtonSet::kYesNoCancel, 3, {kMessageBoxYes, kMessageBoxNo, kMessageBoxCancel}},
    {MessageBoxButtonSet::kOKCancel, 2, {kMessageBoxOK, kMessageBoxCancel, 0}},
    {MessageBoxButtonSet::kRetryCancel, 2, {kMessageBoxRetry, kMessageBoxCancel, 0}},
    {MessageBoxButtonSet::kAbortRetryIgnore,
     3,
     {kMessageBoxAbort, kMessageBoxRetry, kMessageBoxIgnore}},
};

const ButtonSetRow* FindButtonSet(uint32_t present) noexcept {
  for (const ButtonSetRow& row : kButtonSets) {
    uint32_t mask = 0;
    for (uint32_t i = 0; i < row.count; ++i) mask |= 1u << row.buttons[i];
    if (mask == present) return &row;
  }
  return nullptr;
}

// The parts of a text split at U+00A4; the last part keeps any further
// separators.
void SplitParts(const String& text, String* (&parts)[4]) noexcept {
  const char16_t* start = text.Text();
  const char16_t* end = start + text.Length();
  for (uint32_t part = 0; part < 4; ++part) {
    const char16_t* stop = start;
    if (part < 3) {
      while (stop < end && *stop != kPartSeparator) ++stop;
    } else {
      stop = end;
    }
    parts[part]->Assign(start, static_cast<uint32_t>(stop - start));
    start = stop < end ? stop + 1 : end;
  }
}

}  // namespace

Result ReadMessageBoxDescription(ResourceManager& resources, const XmlElement* element,
                                 MessageBoxDescription& description) noexcept {
  description = MessageBoxDescription();
  if (!element) return kNullInput;
  const XmlAttribute* type = element->FindAttribute(u"Type");
  if (!type || !ReadType(type->Value(), description.type)) return kInvalidArgument;
  element->ReadAttributeBoolean(u"CommandLinks", description.command_links, false);
  if (const XmlAttribute* title = element->FindAttribute(u"Title")) {
    LocalizeText(resources, title->Value(), description.title);
  }
  for (const XmlElement* child = element->FirstChild(); child; child = child->NextSibling()) {
    const char16_t* name = child->Name();
    if (!name) continue;  // text between the parts
    const int32_t button = ButtonIndex(name);
    if (button >= 0) {
      String label = LocalizedContent(resources, *child);
      if (label.IsEmpty()) return kInvalidArgument;
      description.labels[button] = static_cast<String&&>(label);
      description.present_buttons |= 1u << button;
      bool is_default = false;
      child->ReadAttributeBoolean(u"DefaultButton", is_default, false);
      if (is_default) description.default_button = static_cast<uint32_t>(button);
    } else if (SameAttributeText(name, u"Header")) {
      description.header = LocalizedContent(resources, *child);
    } else if (SameAttributeText(name, u"Body")) {
      description.body = LocalizedContent(resources, *child);
    } else if (SameAttributeText(name, u"Details")) {
      description.details = LocalizedContent(resources, *child);
    } else if (SameAttributeText(name, u"Footer")) {
      description.footer = LocalizedContent(resources, *child);
      if (const XmlAttribute* icon = child->FindAttribute(u"Icon")) {
        ReadIconName(icon->Value(), description.footer_icon);
      }
    } else if (SameAttributeText(name, u"Message")) {
      description.has_message = true;
      description.message = LocalizedContent(resources, *child);
      if (const XmlAttribute* icon = child->FindAttribute(u"FooterIcon")) {
        ReadIconName(icon->Value(), description.footer_icon);
      }
    }
  }
  return kOk;
}

String ReplaceLinksByTargets(const String& text) noexcept {
  static constexpr char16_t kOpening[] = u"<a href=\"";
  static constexpr uint32_t kOpeningLength = sizeof kOpening / sizeof kOpening[0] - 1;
  static constexpr char16_t kClosing[] = u"</a>";
  const char16_t* at = text.Text();
  const char16_t* end = at + text.Length();
  String result;
  while (at < end) {
    const char16_t* link = at;
    while (link < end && !StartsAt(link, end, kOpening)) ++link;
    result.Append(at, static_cast<uint32_t>(link - at));
    if (link == end) break;
    // The target up to its closing quote; an unterminated one runs to the end.
    const char16_t* target = link + kOpeningLength;
    const char16_t* quote = target;
    while (quote < end && *quote != u'"') ++quote;
    result.Append(target, static_cast<uint32_t>(quote - target));
    if (quote == end) break;
    // The rest of the opening tag, then the link's own text with its "</a>".
    const char16_t* tag_end = quote;
    while (tag_end < end && *tag_end != u'>') ++tag_end;
    if (tag_end == end) break;
    const char16_t* closing = tag_end + 1;
    while (closing < end && !StartsAt(closing, end, kClosing)) ++closing;
    // Without "</a>" the text after the tag stays: nothing is lost but markup.
    at = closing < end ? closing + 4 : tag_end + 1;
  }
  return result;
}

Result ComposeMessageBox(const MessageBoxDescription& description, const String& caption_base,
                         const String& argument, MessageBoxRequest& request) noexcept {
  request = MessageBoxRequest();
  const ButtonSetRow* row = FindButtonSet(description.present_buttons);
  if (!row) return kInvalidArgument;

  request.caption = caption_base;
  if (!description.title.IsEmpty()) request.caption += u" - " + description.title;
  request.type = description.type;
  request.command_links = description.command_links;
  request.footer_icon = description.footer_icon;

  // The parts are split first and formatted one by one with the same
  // argument: an argument holding U+00A4 (a product name, a path) must not
  // move text from one part into the next.
  String* parts[4] = {&request.header, &request.body, &request.details, &request.footer};
  if (description.has_message) {
    SplitParts(description.message, parts);
  } else {
    request.header = description.header;
    request.body = description.body;
    request.details = description.details;
    request.footer = description.footer;
  }
  for (String* part : parts) {
    if (!part->IsEmpty()) *part = Format(part->Text(), FormatArg(argument));
  }

  request.button_set = row->set;
  request.button_count = row->count;
  const uint32_t default_index = description.default_button != kMessageBoxNoDefault
                                     ? description.default_button
                                     : row->buttons[0];
  for (uint32_t i = 0; i < row->count; ++i) {
    const uint32_t index = row->buttons[i];
    request.buttons[i].index = index;
    request.buttons[i].id = kMessageBoxFirstButtonId + static_cast<int32_t>(index);
    request.buttons[i].label = description.labels[index];
    if (index == default_index) request.default_position = i;
  }
  request.default_id = kMessageBoxFirstButtonId + static_cast<int32_t>(default_index);
  request.cancellable = row->set == MessageBoxButtonSet::kOK ||
                        (description.present_buttons & (1u << kMessageBoxCancel)) != 0;

  for (const String* part : parts) {
    if (part->IsEmpty()) continue;
    if (!request.plain_text.IsEmpty()) request.plain_text += u"\n\n";
    request.plain_text += ReplaceLinksByTargets(*part);
  }
  return kOk;
}

uint32_t TaskDialogAnswer(const MessageBoxRequest& request, int32_t answer) noexcept {
  for (uint32_t i = 0; i < request.button_count; ++i) {
    if (request.buttons[i].id == answer) return request.buttons[i].index;
  }
  return PlainMessageBoxAnswer(answer);
}

uint32_t PlainMessageBoxAnswer(int32_t answer) noexcept {
  switch (answer) {
    case kPlatformAnswerOK:
      return kMessageBoxOK;
    case kPlatformAnswerCancel:
      return kMessageBoxCancel;
    case kPlatformAnswerRetry:
      return kMessageBoxRetry;
    case kPlatformAnswerIgnore:
      return kMessageBoxIgnore;
    case kPlatformAnswerYes:
      return kMessageBoxYes;
    case kPlatformAnswerNo:
      return kMessageBoxNo;
    default:
      return kMessageBoxRefused;
  }
}

uint32_t ShowMessageBox(ResourceManager& resources, MessageBoxDisplay& display,
                        const MessageBoxOwner& owner, const char16_t* name,
                        const String& argument) noexcept {
  if (owner.quiet) return kMessageBoxRefused;
  XmlElement* element = nullptr;
  if (resources.GetElement(u"MessageBox", name, element) != kOk) return kMessageBoxRefused;
  MessageBoxDescription description;
  const Result read = ReadMessageBoxDescription(resources, element, description);
  resources.Release(element);
  if (read != kOk) return kMessageBoxRefused;

  // A window without a title (not yet shown, or untitled) leaves the
  // caption to the application's name rather than to a bare " - Title".
  String caption_base = owner.window ? display.WindowTitle(owner.window) : String();
  if (caption_base.IsEmpty()) caption_base = owner.application_name;
  MessageBoxRequest request;
  if (ComposeMessageBox(description, caption_base, argument, request) != kOk) {
    return kMessageBoxRefused;
  }
  int32_t answer = 0;
  const Result shown = display.ShowTaskDialog(owner.window, request, answer);
  if (shown == kOk) return TaskDialogAnswer(request, answer);
  if (shown != kNotSupported) return kMessageBoxRefused;
  if (display.ShowPlainMessageBox(owner.window, request, answer) != kOk) {
    return kMessageBoxRefused;
  }
  return PlainMessageBoxAnswer(answer);
}

}  // namespace vorn
