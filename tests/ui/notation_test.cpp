// The pure notations of window descriptions: identifiers, colours, fonts.
#include <gtest/gtest.h>

#include "foundation/format.h"
#include "ui/color.h"
#include "ui/font.h"
#include "ui/window_id.h"

namespace vorn {
namespace {

TEST(WindowIdTest, ReservedNamesAndKnownValues) {
  EXPECT_EQ(WindowIdOf(u""), kNoWindowId);
  EXPECT_EQ(WindowIdOf(nullptr), kNoWindowId);
  EXPECT_NE(kOkId, kCancelId);
  EXPECT_NE(kSelfId, kParentId);
  EXPECT_EQ(WindowIdOf(u"Parent"), kParentId);
  EXPECT_EQ(WindowIdOf(u"Self"), kSelfId);
  EXPECT_EQ(WindowIdOf(u"OKButton", 2), kOkId);
  // An "ID" of "Parent" collides with the reserved name, by design.
  EXPECT_EQ(WindowIdOf(u"Parent", 6), kParentId);
  // Case matters.
  EXPECT_NE(WindowIdOf(u"ok"), kOkId);
  static_assert(WindowIdOf(u"InstallCmd") == WindowIdOf(u"InstallCmd", 10));
}

// A bytewise reference for the UTF-16LE rule: the CRC over the bytes.
uint16_t ReferenceCrc(const uint8_t* bytes, size_t count) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < count; ++i) {
    crc ^= static_cast<uint16_t>(bytes[i] << 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                           : static_cast<uint16_t>(crc << 1);
    }
  }
  return crc;
}

TEST(WindowIdTest, MatchesTheCheckValueOverUtf16LittleEndianBytes) {
  // The standard check value of CRC-16/CCITT-FALSE.
  const uint8_t ascii[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(ReferenceCrc(ascii, sizeof ascii), 0x29B1);
  const char16_t name[] = u"Caf\u00E9\u4E2D";
  uint8_t bytes[10];
  for (int i = 0; i < 5; ++i) {
    bytes[2 * i] = static_cast<uint8_t>(name[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
  }
  EXPECT_EQ(WindowIdOf(name), ReferenceCrc(bytes, sizeof bytes));
}

TEST(WindowIdTest, WindowsWithoutNamesTakeTheirAddressText) {
  int object = 0;
  // As the formatter writes an address argument.
  EXPECT_EQ(WindowIdOfAddress(&object), WindowIdOf(Format(u"{0}", FormatAddress(&object)).Text()));
  char16_t text[9];
  const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&object));
  for (int i = 0; i < 8; ++i) {
    const uint32_t digit = (address >> (28 - 4 * i)) & 0xF;
    text[i] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + digit - 10);
  }
  text[8] = 0;
  EXPECT_EQ(WindowIdOfAddress(&object), WindowIdOf(text));
}

uint32_t FixedSystemColor(int32_t index) {
  return index == 15 ? 0x00C0C0C0 : 0x00102030;
}

TEST(ColorTest, HexadecimalForms) {
  Color color;
  ASSERT_EQ(ParseColor(u"#ABC", color), kOk);
  EXPECT_EQ(color.rgba, 0xFFCCBBAAu);
  ASSERT_EQ(ParseColor(u"#F80", color), kOk);
  EXPECT_EQ(color.rgba, Color::Rgba(0xFF, 0x88, 0x00, 0xFF).rgba);
  ASSERT_EQ(ParseColor(u"#102030", color), kOk);
  EXPECT_EQ(color.rgba, 0xFF302010u);
  ASSERT_EQ(ParseColor(u"#10203040", color), kOk);
  EXPECT_EQ(color.rgba, 0x40302010u);
  EXPECT_EQ(color.system_index, -1);
  for (const char16_t* bad : {u"#12345", u"#", u"#1234567890", u"#GG0", u"#12"}) {
    color = Color::NotSet();
    EXPECT_EQ(ParseColor(bad, color), kInvalidContent);
    EXPECT_EQ(color.rgba, 0xFF000000u);
    EXPECT_EQ(color.system_index, -1);
  }
}

TEST(ColorTest, NamesSystemColoursAndFailures) {
  Color color;
  ASSERT_EQ(ParseColor(u"Red", color), kOk);
  EXPECT_EQ(color.rgba, 0xFF0000FFu);
  ASSERT_EQ(ParseColor(u"Blue", color), kOk);
  EXPECT_EQ(color.rgba, 0xFFFF0000u);
  ASSERT_EQ(ParseColor(u"LightOrange", color), kOk);
  EXPECT_EQ(color.rgba, Color::Rgba(255, 217, 76, 255).rgba);
  ASSERT_EQ(ParseColor(u"GUIFace", color), kOk);
  EXPECT_EQ(color.system_index, 15);
  EXPECT_EQ(color.rgba, 0u);
  ASSERT_EQ(ParseColor(u"Hyperlink", color), kOk);
  EXPECT_EQ(color.system_index, 26);
  EXPECT_EQ(ResolveColor(Color::System(15), &FixedSystemColor), 0xFFC0C0C0u);
  // Names are compared exactly.
  EXPECT_EQ(ParseColor(u"red", color), kInvalidContent);
  EXPECT_EQ(color.rgba, 0xFF000000u);
  EXPECT_EQ(ParseColor(nullptr, color), kNullInput);
}

TEST(ColorTest, EqualityAndMarkers) {
  Color transparent;
  ASSERT_EQ(ParseColor(u"Transparent", transparent), kOk);
  EXPECT_TRUE(transparent.IsTransparent());
  EXPECT_TRUE(ColorsEqual(transparent, Color{0, -1}, &FixedSystemColor));
  Color pink;
  ASSERT_EQ(ParseColor(u"Pink", pink), kOk);
  EXPECT_EQ(pink.rgba, Color::NotSet().rgba);
  EXPECT_TRUE(ColorsEqual(pink, Color::NotSet(), &FixedSystemColor));
  // Two system colours compare by index, even when their values agree.
  EXPECT_FALSE(ColorsEqual(Color::System(15), Color::System(16), [](int32_t) { return 0u; }));
  EXPECT_TRUE(
      ColorsEqual(Color::System(15), Color::Rgba(0xC0, 0xC0, 0xC0, 0xFF), &FixedSystemColor));
}

// The window (5) and hyperlink (26) colours of a desktop theme, as rgb.
struct Theme {
  uint32_t window;
  uint32_t link;
};
Theme current_theme;
uint32_t ThemeColor(int32_t index) {
  return index == 5 ? current_theme.window : index == 26 ? current_theme.link : 0u;
}

TEST(ColorTest, LinksStayReadableOnTheWindowColour) {
  const Color link = Color::System(26);
  const uint32_t fallback = Color::Rgba(0x00, 0x66, 0xCC, 0xFF).rgba;
  // The usual blue on white, and a light blue on a dark window, are kept:
  // the link still follows the theme.
  for (const Theme theme : {Theme{0xFFFFFF, 0xCC6600}, Theme{0x202020, 0xFF9933}}) {
    current_theme = theme;
    const Color chosen = ReadableLinkColor(link, &ThemeColor);
    EXPECT_TRUE(chosen.IsSystem());
    EXPECT_EQ(chosen.system_index, 26);
  }
  // Nearly white on white, nearly black on black, and just under the limit:
  // the fixed blue.
  for (const Theme theme :
       {Theme{0xFFFFFF, 0xFFF0F0}, Theme{0x000000, 0x401A1A}, Theme{0xFFFFFF, 0xA2A2A2}}) {
    current_theme = theme;
    const Color chosen = ReadableLinkColor(link, &ThemeColor);
    EXPECT_FALSE(chosen.IsSystem());
    EXPECT_EQ(chosen.rgba, fallback);
  }
  // At the limit (a difference of 96) the theme's colour is kept.
  current_theme = {0xFFFFFF, 0x9F9F9F};
  EXPECT_TRUE(ReadableLinkColor(link, &ThemeColor).IsSystem());
  // A colour the description chose, or another system colour, is left alone
  // even when it is hard to read.
  current_theme = {0xFFFFFF, 0xFFFFFF};
  EXPECT_EQ(ReadableLinkColor(Color::Rgba(0xF8, 0xF8, 0xF8, 0xFF), &ThemeColor).rgba,
            Color::Rgba(0xF8, 0xF8, 0xF8, 0xFF).rgba);
  EXPECT_EQ(ReadableLinkColor(Color::System(5), &ThemeColor).system_index, 5);
}

NonClientFonts TestFonts() {
  NonClientFonts fonts;
  fonts.message.height = -12;
  fonts.message.SetFace(u"Tahoma", 6);
  fonts.caption.height = -13;
  fonts.caption.weight = 700;
  fonts.caption.SetFace(u"Trebuchet MS", 12);
  fonts.small_caption.height = -11;
  fonts.menu.height = 15;
  return fonts;
}

FontDescription Resolve(const char16_t* text) {
  FontList list;
  EXPECT_EQ(ParseFontList(text, list), kOk);
  return ResolveFontList(list, TestFonts());
}

TEST(FontTest, BasesSizesScalesAndStyles) {
  FontDescription font = Resolve(u"{Caption}, Bold, 14");
  EXPECT_EQ(font.height, -14);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(std::u16string(font.face), u"Trebuchet MS");

  font = Resolve(u"Arial,*1.5");
  EXPECT_EQ(font.height, -18);
  EXPECT_EQ(std::u16string(font.face), u"Arial");
  EXPECT_EQ(font.weight, 400);

  font = Resolve(u"*.8");
  EXPECT_EQ(font.height, -10);  // 12 * 0.8 + 0.5 = 10.1
  EXPECT_EQ(std::u16string(font.face), u"Tahoma");

  // A positive height keeps its sign when scaled.
  font = Resolve(u"{Menu},*2");
  EXPECT_EQ(font.height, 30);

  font = Resolve(u"{Unknown}, Italic, Underline, Strikeout, FixedPitch");
  EXPECT_EQ(std::u16string(font.face), u"Tahoma");
  EXPECT_TRUE(font.italic && font.underline && font.strikeout);
  EXPECT_EQ(font.pitch_and_family, 0x31);

  // The last face wins; a size beats a scale.
  font = Resolve(u"Arial, Verdana, *3, 9");
  EXPECT_EQ(std::u16string(font.face), u"Verdana");
  EXPECT_EQ(font.height, -9);

  // A face longer than the platform's field is cut, never overrun.
  font = Resolve(u"An extraordinarily long face name beyond thirty-two units");
  EXPECT_EQ(std::u16string(font.face).size(), FontDescription::kFaceCapacity - 1);
  FontList list;
  EXPECT_EQ(ParseFontList(nullptr, list), kNullInput);
}

TEST(FontTest, FallbackAndBaseUnits) {
  const FontDescription fallback = ResolveFontList(FontList(), NonClientFonts());
  EXPECT_EQ(fallback.height, -12);
  EXPECT_EQ(fallback.weight, 400);
  EXPECT_EQ(std::u16string(fallback.face), u"MS Shell Dlg");
  // 52 letters 364 pixels wide: (364 / 26 + 1) / 2 = 7.
  const DialogBaseUnits units = BaseUnitsFromMeasure(364, 13);
  EXPECT_EQ(units.horizontal, 7);
  EXPECT_EQ(units.vertical, 13);
}

}  // namespace
}  // namespace vorn
