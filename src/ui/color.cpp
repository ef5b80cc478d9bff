#include "ui/color.h"

#include "ui/ui_platform.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

struct NamedColor {
  const char16_t* name;
  Color color;
};

constexpr NamedColor kSystemColors[] = {
    {u"DesktopBackground", Color::System(1)},
    {u"DialogBoxBackground", Color::System(15)},
    {u"GUIHighlight", Color::System(20)},
    {u"GUIFace", Color::System(15)},
    {u"GUIShadow", Color::System(16)},
    {u"GUIDarkShadow", Color::System(21)},
    {u"Hyperlink", Color::System(26)},
    {u"SelectedItemBackground", Color::System(13)},
    {u"ToolbarBackground", Color::System(15)},
    {u"TooltipText", Color::System(23)},
    {u"TooltipBackground", Color::System(24)},
    {u"WindowActiveTitleBackgroundLeft", Color::System(2)},
    {u"WindowActiveTitleBackgroundRight", Color::System(27)},
    {u"WindowActiveTitleText", Color::System(9)},
    {u"WindowBackground", Color::System(5)},
    {u"WindowInactiveTitleBackgroundLeft", Color::System(3)},
    {u"WindowInactiveTitleBackgroundRight", Color::System(28)},
    {u"WindowInactiveTitleText", Color::System(19)},
    {u"WindowGrayText", Color::System(17)},
    {u"WindowText", Color::System(8)},
};

constexpr NamedColor kNamedColors[] = {
    {u"Black", Color::Rgba(0, 0, 0, 255)},
    {u"Blue", Color::Rgba(0, 0, 255, 255)},
    {u"Gray", Color::Rgba(128, 128, 128, 255)},
    {u"Green", Color::Rgba(0, 255, 0, 255)},
    {u"Orange", Color::Rgba(255, 128, 0, 255)},
    {u"Pink", Color::Rgba(255, 0, 255, 255)},
    {u"Red", Color::Rgba(255, 0, 0, 255)},
    {u"Transparent", Color::Rgba(0, 0, 0, 0)},
    {u"White", Color::Rgba(255, 255, 255, 255)},
    {u"Yellow", Color::Rgba(255, 255, 0, 255)},
    {u"LightGray", Color::Rgba(192, 192, 192, 255)},
    {u"LightOrange", Color::Rgba(255, 217, 76, 255)},
    {u"LightYellow", Color::Rgba(255, 255, 128, 255)},
    {u"DarkBlue", Color::Rgba(0, 0, 128, 255)},
};

int HexDigit(char16_t unit) noexcept {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  return -1;
}

// The digits after '#': 3 (each doubled), 6 or 8. False for another count
// or a unit that is not a hexadecimal digit.
bool ParseHexColor(const char16_t* digits, Color& color) noexcept {
  uint32_t count = 0;
  int values[8];
  for (; digits[count] != 0; ++count) {
    if (count == 8) return false;
    values[count] = HexDigit(digits[count]);
    if (values[count] < 0) return false;
  }
  uint8_t bytes[4] = {0, 0, 0, 255};
  if (count == 3) {
    for (int i = 0; i < 3; ++i) bytes[i] = static_cast<uint8_t>(values[i] * 17);
  } else if (count == 6 || count == 8) {
    for (uint32_t i = 0; i < count / 2; ++i) {
      bytes[i] = static_cast<uint8_t>(values[2 * i] * 16 + values[2 * i + 1]);
    }
  } else {
    return false;
  }
  color = Color::Rgba(bytes[0], bytes[1], bytes[2], bytes[3]);
  return true;
}

}  // namespace

uint32_t ResolveColor(const Color& color, SystemColorSource source) noexcept {
  if (!color.IsSystem()) return color.rgba;
  const uint32_t rgb = source != nullptr ? source(color.system_index)
                                         : CurrentUiPlatform().SystemColor(color.system_index);
  return (rgb & 0x00FFFFFF) | 0xFF000000;
}

bool ColorsEqual(const Color& a, const Color& b, SystemColorSource source) noexcept {
  if (a.IsSystem() && b.IsSystem()) return a.system_index == b.system_index;
  return ResolveColor(a, source) == ResolveColor(b, source);
}

Color ReadableLinkColor(const Color& link, SystemColorSource source) noexcept {
  constexpr int32_t kWindowColor = 5;
  constexpr int32_t kHyperlinkColor = 26;
  if (!link.IsSystem() || link.system_index != kHyperlinkColor) return link;
  // Perceived brightness, 0 to 255.
  const auto brightness = [](uint32_t rgba) {
    return static_cast<int32_t>(
        ((rgba & 0xFF) * 299 + ((rgba >> 8) & 0xFF) * 587 + ((rgba >> 16) & 0xFF) * 114) / 1000);
  };
  const int32_t difference = brightness(ResolveColor(link, source)) -
                             brightness(ResolveColor(Color::System(kWindowColor), source));
  if (difference > -96 && difference < 96) return Color::Rgba(0x00, 0x66, 0xCC, 0xFF);
  return link;
}

Result ParseColor(const char16_t* text, Color& color) noexcept {
  color = Color::Rgba(0, 0, 0, 255);
  if (text == nullptr) return kNullInput;
  for (const NamedColor& entry : kSystemColors) {
    if (XmlTextEquals(text, entry.name)) {
      color = entry.color;
      return kOk;
    }
  }
  if (text[0] == u'#') {
    if (ParseHexColor(text + 1, color)) return kOk;
    color = Color::Rgba(0, 0, 0, 255);
    return kInvalidContent;
  }
  for (const NamedColor& entry : kNamedColors) {
    if (XmlTextEquals(text, entry.name)) {
      color = entry.color;
      return kOk;
    }
  }
  return kInvalidContent;
}

}  // namespace vorn
