#include "description_rules.h"

#include "tool_text.h"
#include "ui/window_types.h"

namespace vornpack {
namespace {

bool IsOneOf(const std::u16string& name, std::initializer_list<const char16_t*> names) {
  for (const char16_t* candidate : names) {
    if (name == candidate) return true;
  }
  return false;
}

const char16_t* const kBorders[] = {u"None", u"Solid", u"StaticEdge", u"ClientEdge", nullptr};
const char16_t* const kRedraws[] = {u"Both", u"Horizontal", u"Vertical", nullptr};
const char16_t* const kCursors[] = {u"{Hand}", nullptr};
const char16_t* const kWindowTypes[] = {u"MainWindow", u"MainDialogBox", u"ClientWindow", nullptr};
const char16_t* const kDialogTypes[] = {u"Popup", u"StatusPopup", u"SimplePopup", u"ThinPopup",
                                        nullptr};
const char16_t* const kButtonTypes[] = {u"PushCheckButton", u"DefaultButton", nullptr};
const char16_t* const kComboTypes[] = {u"List", u"Editable", u"DropDown", nullptr};
const char16_t* const kMessageBoxTypes[] = {u"Simple", u"Information", u"Warning", u"Error",
                                            nullptr};
const char16_t* const kIcons[] = {u"Information", u"Warning", u"Error", nullptr};
const char16_t* const kHorizontalAligns[] = {u"Left", u"Center", u"Right", nullptr};
const char16_t* const kVerticalAligns[] = {u"Center", nullptr};
const char16_t* const kTextModes[] = {u"Default", u"Plain", u"HTML", nullptr};
const char16_t* const kCases[] = {u"Upper", u"Lower", nullptr};

}  // namespace

bool IsTopLevelWindow(const std::u16string& name) {
  return IsOneOf(name, {u"Window", u"DialogBox", u"BrowseFolderDialog"});
}

bool IsWindowType(const std::u16string& name) {
  return vorn::IsWindowTypeName(name.c_str());
}

bool IsMessageBoxPart(const std::u16string& name) {
  return IsOneOf(name, {u"Yes", u"No", u"OK", u"Cancel", u"Retry", u"Abort", u"Ignore", u"Header",
                        u"Body", u"Details", u"Footer", u"Message"});
}

const char16_t* const* EnumeratedValues(const std::u16string& kind,
                                        const std::u16string& attribute) {
  if (kind == u"MessageBox") return attribute == u"Type" ? kMessageBoxTypes : nullptr;
  if (IsMessageBoxPart(kind)) {
    return attribute == u"Icon" || attribute == u"FooterIcon" ? kIcons : nullptr;
  }
  if (attribute == u"Border") return kBorders;
  if (attribute == u"Redraw") return kRedraws;
  if (attribute == u"MouseCursor") return kCursors;
  if (attribute == u"HorizontalAlign") return kHorizontalAligns;
  if (attribute == u"VerticalAlign") return kVerticalAligns;
  if (attribute == u"TextMode") return kTextModes;
  if (attribute == u"Case") return kCases;
  if (attribute == u"Type") {
    // Each class reads its own types; the classes not listed here take
    // none that a description could get wrong in a way seen here.
    if (kind == u"Window") return kWindowTypes;
    if (kind == u"DialogBox" || kind == u"BrowseFolderDialog") return kDialogTypes;
    if (kind == u"Button") return kButtonTypes;
    if (kind == u"ComboBox") return kComboTypes;
  }
  return nullptr;
}

bool IsColourAttribute(const std::u16string& attribute) {
  return IsOneOf(attribute, {u"BackgroundColor", u"HorizontalGradientColor",
                             u"VerticalGradientColor", u"TextColor"});
}

const char16_t* PictureAttribute(const std::u16string& kind) {
  if (kind == u"Picture") return u"Name";
  if (IsOneOf(kind, {u"Button", u"CheckBox", u"GroupBox"})) return u"Picture";
  if (IsOneOf(kind, {u"TabCtrl", u"ComboBox"})) return u"Pictures";
  return nullptr;
}

bool IsLocalizedAttribute(const std::u16string& attribute) {
  return IsOneOf(attribute, {u"Title", u"Tooltip", u"Text", u"Help"});
}

std::string ListOfValues(const char16_t* const* values) {
  std::string list;
  for (size_t i = 0; values[i] != nullptr; ++i) {
    if (i > 0) list += values[i + 1] == nullptr ? " or " : ", ";
    list += "\"" + ToUtf8(std::u16string(values[i])) + "\"";
  }
  return list;
}

}  // namespace vornpack
