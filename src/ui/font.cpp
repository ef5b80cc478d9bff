#include "ui/font.h"

#include "xml/xml_text.h"

namespace vorn {
namespace {

bool IsBlank(char16_t unit) noexcept {
  return unit == u' ' || unit == u'\t';
}

bool TokenIs(const char16_t* token, uint32_t length, const char16_t* word) noexcept {
  return XmlTextEquals(word, token, length);
}

// An integer token: optional sign, then decimal digits, nothing after.
bool IsIntegerToken(const char16_t* token, uint32_t length) noexcept {
  uint32_t i = 0;
  if (i < length && (token[i] == u'+' || token[i] == u'-')) ++i;
  if (i == length) return false;
  if (length - i > 2 && token[i] == u'0' && token[i + 1] == u'x') return true;
  for (; i < length; ++i) {
    if (token[i] < u'0' || token[i] > u'9') return false;
  }
  return true;
}

FontBase BaseOfBracedName(const char16_t* token, uint32_t length) noexcept {
  if (TokenIs(token, length, u"{Caption}")) return FontBase::kCaption;
  if (TokenIs(token, length, u"{SmallCaption}")) return FontBase::kSmallCaption;
  if (TokenIs(token, length, u"{Menu}")) return FontBase::kMenu;
  if (TokenIs(token, length, u"{Status}")) return FontBase::kStatus;
  return FontBase::kDefault;
}

void ApplyToken(const char16_t* token, uint32_t length, FontList& list) noexcept {
  if (length == 0) return;
  if (TokenIs(token, length, u"Bold")) {
    list.bold = true;
  } else if (TokenIs(token, length, u"Italic")) {
    list.italic = true;
  } else if (TokenIs(token, length, u"Underline")) {
    list.underline = true;
  } else if (TokenIs(token, length, u"Strikeout")) {
    list.strikeout = true;
  } else if (TokenIs(token, length, u"FixedPitch")) {
    list.fixed_pitch = true;
  } else if (token[0] == u'*') {
    const String number(token + 1, length - 1);
    list.scale = TextToFloat(number.Text());
  } else if (IsIntegerToken(token, length)) {
    const String number(token, length);
    list.has_size = true;
    list.size = TextToInt32(number.Text());
  } else if (token[0] == u'{' && token[length - 1] == u'}') {
    list.base = BaseOfBracedName(token, length);
    list.face = String();
  } else {
    list.base = FontBase::kDefault;
    list.face = String(token, length);
  }
}

}  // namespace

void FontDescription::SetFace(const char16_t* text, uint32_t length) noexcept {
  if (length >= kFaceCapacity) length = kFaceCapacity - 1;
  for (uint32_t i = 0; i < length; ++i) face[i] = text[i];
  for (uint32_t i = length; i < kFaceCapacity; ++i) face[i] = 0;
}

bool FontDescription::operator==(const FontDescription& other) const noexcept {
  return height == other.height && weight == other.weight && italic == other.italic &&
         underline == other.underline && strikeout == other.strikeout &&
         char_set == other.char_set && pitch_and_family == other.pitch_and_family &&
         XmlTextEquals(face, other.face);
}

Result ParseFontList(const char16_t* text, FontList& list) noexcept {
  list = FontList();
  if (text == nullptr) return kNullInput;
  while (*text != 0) {
    while (IsBlank(*text)) ++text;
    const char16_t* start = text;
    while (*text != 0 && *text != u',') ++text;
    uint32_t length = static_cast<uint32_t>(text - start);
    while (length > 0 && IsBlank(start[length - 1])) --length;
    ApplyToken(start, length, list);
    if (*text == u',') ++text;
  }
  return kOk;
}

FontDescription ResolveFontList(const FontList& list, const NonClientFonts& fonts) noexcept {
  FontDescription font;
  switch (list.base) {
    case FontBase::kCaption:
      font = fonts.caption;
      break;
    case FontBase::kSmallCaption:
      font = fonts.small_caption;
      break;
    case FontBase::kMenu:
      font = fonts.menu;
      break;
    case FontBase::kStatus:
      font = fonts.status;
      break;
    case FontBase::kDefault:
      font = fonts.message;
      break;
  }
  if (!list.face.IsEmpty()) font.SetFace(list.face.Text(), list.face.Length());
  if (list.has_size) {
    // A size is a character height: the platform's negative form.
    font.height = -list.size;
  } else if (list.scale > 0.0f) {
    const int32_t magnitude = font.height < 0 ? -font.height : font.height;
    const auto scaled = static_cast<int32_t>(static_cast<float>(magnitude) * list.scale + 0.5f);
    font.height = font.height < 0 ? -scaled : scaled;
  }
  if (list.bold) font.weight = 700;
  if (list.italic) font.italic = true;
  if (list.underline) font.underline = true;
  if (list.strikeout) font.strikeout = true;
  // Fixed pitch, modern family.
  if (list.fixed_pitch) font.pitch_and_family = 0x01 | 0x30;
  return font;
}

DialogBaseUnits BaseUnitsFromMeasure(int32_t alphabet_width, int32_t cell_height) noexcept {
  DialogBaseUnits units;
  units.horizontal = (alphabet_width / 26 + 1) / 2;
  units.vertical = cell_height;
  if (units.horizontal <= 0) units.horizontal = 4;
  if (units.vertical <= 0) units.vertical = 8;
  return units;
}

}  // namespace vorn
