#include "xml/xml_parser.h"

#include <cmath>
#include <cstdlib>

#include "foundation/string.h"
#include "xml/xml_tree_builder.h"

namespace vorn {
namespace {

inline bool IsNameStart(char16_t unit) noexcept {
  return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z') || unit == u'_' ||
         unit == u':';
}

inline bool IsNameChar(char16_t unit) noexcept {
  return IsNameStart(unit) || (unit >= u'0' && unit <= u'9') || unit == u'-' || unit == u'.';
}

// What the scanning loops may take without a second look: everything but
// markup, the units that need line-end normalization, and 0 and the other
// controls (LF and TAB excepted, the reader counts those itself).
inline bool IsOrdinary(char16_t unit) noexcept {
  return unit >= 0x20 ? unit != 0x85 && unit != 0x2028 : unit == u'\n' || unit == u'\t';
}

inline bool IsPlainContent(char16_t unit) noexcept {
  return IsOrdinary(unit) && unit != u'<' && unit != u'&' && unit != u'>';
}

inline bool IsPlainComment(char16_t unit) noexcept {
  return IsOrdinary(unit) && unit != u'-' && unit != u'&';
}

inline bool IsPlainCData(char16_t unit) noexcept {
  return IsOrdinary(unit) && unit != u']';
}

inline int DigitValue(char16_t unit, bool hexadecimal) noexcept {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (!hexadecimal) return -1;
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

bool BufferEquals(const XmlTextBuffer& buffer, const char16_t* text) noexcept {
  const uint32_t length = TextLength(text);
  if (buffer.Length() != length) return false;
  for (uint32_t i = 0; i < length; ++i) {
    if (buffer.Units()[i] != text[i]) return false;
  }
  return true;
}

bool BufferEqualsIgnoringCase(const XmlTextBuffer& buffer, const char16_t* text) noexcept {
  const uint32_t length = TextLength(text);
  if (buffer.Length() != length) return false;
  for (uint32_t i = 0; i < length; ++i) {
    char16_t unit = buffer.Units()[i];
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + (u'a' - u'A'));
    if (unit != text[i]) return false;
  }
  return true;
}

// major * 256 + tenths * 16 + hundredths; 0 for what is no version at all.
uint16_t VersionCode(double version) noexcept {
  if (!(version >= 0.0 && version < 100.0)) return 0;
  const long hundredths = std::lround(version * 100.0);
  return static_cast<uint16_t>((hundredths / 100) * 256 + ((hundredths / 10) % 10) * 16 +
                               hundredths % 10);
}

}  // namespace

XmlParser::~XmlParser() {
  std::free(open_);
}

void XmlParser::Append(XmlElement* node) noexcept {
  XmlElement**& link = CurrentLink();
  *link = node;
  link = XmlTreeBuilder::NextSiblingLink(node);
}

Result XmlParser::Push(XmlElement* element) noexcept {
  if (depth_ == open_capacity_) {
    const uint32_t capacity = open_capacity_ ? open_capacity_ * 2 : 64;
    void* grown = std::realloc(open_, size_t{capacity} * sizeof(OpenElement));
    if (!grown) return kOutOfMemory;
    open_ = static_cast<OpenElement*>(grown);
    open_capacity_ = capacity;
  }
  open_[depth_++] = {element, XmlTreeBuilder::FirstChildLink(element)};
  return kOk;
}

// Inside markup the end of the stream leaves something unterminated.
Result XmlParser::NextInMarkup(char16_t& unit) noexcept {
  const Result result = reader_.Next(unit);
  return result == kEndOfData ? kSyntaxError : result;
}

Result XmlParser::NextNonSpace(char16_t& unit) noexcept {
  for (;;) {
    const Result result = NextInMarkup(unit);
    if (result != kOk || !IsWhiteSpace(unit)) return result;
  }
}

Result XmlParser::ReadName(char16_t first, XmlTextBuffer& name) noexcept {
  name.Clear();
  Result result = name.Append(first);
  while (result == kOk) {
    result = reader_.TakeRun(name, IsNameChar);
    if (result != kOk) return result;
    char16_t unit;
    result = reader_.Peek(unit);
    if (result == kEndOfData) return kOk;  // whoever reads on reports it
    if (result != kOk || !IsNameChar(unit)) return result;
    reader_.Next(unit);
    result = name.Append(unit);
  }
  return result;
}

// After '&': a numeric reference or one of the five entities, ending with
// ';'. The character goes to `out` (two units for one above U+FFFF) and
// never acts as markup; `first` is its first unit.
Result XmlParser::ReadReference(XmlTextBuffer& out, char16_t& first) noexcept {
  char16_t unit;
  Result result = NextInMarkup(unit);
  if (result != kOk) return result;
  if (unit == u'#') {
    result = NextInMarkup(unit);
    const bool hexadecimal = result == kOk && unit == u'x';
    if (hexadecimal) result = NextInMarkup(unit);
    uint32_t value = 0;
    uint32_t digits = 0;
    int digit;
    while (result == kOk && (digit = DigitValue(unit, hexadecimal)) >= 0) {
      if (value <= 0x10FFFF) value = value * (hexadecimal ? 16 : 10) + digit;
      ++digits;
      result = NextInMarkup(unit);
    }
    if (result != kOk) return result;
    // Beyond Unicode, or 0, which no text may hold, is no character.
    if (unit != u';' || digits == 0 || value == 0 || value > 0x10FFFF) return kSyntaxError;
    if (value < 0x10000) {
      first = static_cast<char16_t>(value);
      return out.Append(first);
    }
    const char16_t pair[2] = {static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)),
                              static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF))};
    first = pair[0];
    return out.Append(pair, 2);
  }
  if (!IsNameStart(unit)) return kSyntaxError;
  char16_t name[5];
  uint32_t length = 0;
  while (IsNameChar(unit)) {
    if (length == 5) return kSyntaxError;  // longer than any of the five
    name[length++] = unit;
    result = NextInMarkup(unit);
    if (result != kOk) return result;
  }
  if (unit != u';') return kSyntaxError;
  static constexpr struct {
    const char16_t* name;
    char16_t unit;
  } kEntities[] = {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''}};
  for (const auto& entity : kEntities) {
    if (XmlTextEquals(entity.name, name, length)) {
      first = entity.unit;
      return out.Append(first);
    }
  }
  return kSyntaxError;
}

Result XmlParser::Parse(XmlElement** nodes) noexcept {
  top_link_ = nodes;
  for (;;) {
    Result result = ReadTextRun();
    if (result == kEndOfData) {
      if (!AtTopLevel()) return kEndOfData;  // elements still open
      result = FlushText();
      if (result != kOk) return result;
      return CheckDocument(*nodes);
    }
    if (result == kOk) result = FlushText();
    if (result == kOk) result = ParseMarkup();
    if (result != kOk) return result;
  }
}

// Character data up to the next '<' (taken). At top level the run must
// start with white space.
Result XmlParser::ReadTextRun() noexcept {
  text_.Clear();
  bool check_first = AtTopLevel();
  for (;;) {
    if (!check_first) {
      const Result result = reader_.TakeRun(text_, IsPlainContent);
      if (result != kOk) return result;
    }
    char16_t unit;
    Result result = reader_.Next(unit);
    if (result != kOk) return result;
    if (unit == u'<') return kOk;
    if (unit == u'>') return kSyntaxError;
    if (unit == u'&') {
      result = ReadReference(text_, unit);
    } else {
      result = text_.Append(unit);
    }
    if (result != kOk) return result;
    if (check_first) {
      if (!IsWhiteSpace(unit)) return kInvalidContent;
      check_first = false;
    }
  }
}

// Text that is only white space is dropped at once: it would be removed
// when its sibling list is complete anyway.
Result XmlParser::FlushText() noexcept {
  if (text_.Length() == 0 || IsXmlWhiteSpaceOnly(text_.Units(), text_.Length())) return kOk;
  XmlElement* node = XmlTreeBuilder::CreateText(XmlValueKind::kText, text_.Units(), text_.Length());
  if (!node) return kOutOfMemory;
  Append(node);
  text_.Clear();
  return kOk;
}

// After '<'.
Result XmlParser::ParseMarkup() noexcept {
  // The '<' was the last unit read: the column after it counts it from 1.
  tag_line_ = reader_.Line();
  tag_column_ = reader_.Column();
  char16_t unit;
  Result result = NextInMarkup(unit);
  if (result != kOk) return result;
  switch (unit) {
    case u'?':
      return ParseProcessingInstruction();
    case u'!':
      return ParseBang();
    case u'/':
      return AtTopLevel() ? kInvalidContent : ParseEndTag();
    default:
      // A start tag's name may follow after white space.
      if (IsWhiteSpace(unit)) {
        result = NextNonSpace(unit);
        if (result != kOk) return result;
      }
      return IsNameStart(unit) ? ParseStartTag(unit) : kSyntaxError;
  }
}

Result XmlParser::ReadAttribute(char16_t first) noexcept {
  Result result = ReadName(first, name_);
  if (result != kOk) return result;
  char16_t unit;
  result = NextNonSpace(unit);
  if (result != kOk) return result;
  if (unit != u'=') return kSyntaxError;
  result = NextNonSpace(unit);
  if (result != kOk) return result;
  if (unit != u'"' && unit != u'\'') return kSyntaxError;
  const char16_t quote = unit;
  value_.Clear();
  for (;;) {
    result = reader_.TakeRun(
        value_, [quote](char16_t u) { return IsOrdinary(u) && u != quote && u != u'&'; });
    if (result != kOk) return result;
    result = NextInMarkup(unit);
    if (result != kOk) return result;
    if (unit == quote) return kOk;
    result = unit == u'&' ? ReadReference(value_, unit) : value_.Append(unit);
    if (result != kOk) return result;
  }
}

Result XmlParser::ParseStartTag(char16_t first) noexcept {
  Result result = ReadName(first, name_);
  if (result != kOk) return result;
  XmlElement* element = XmlElement::Create(name_.Units(), name_.Length());
  if (!element) return kOutOfMemory;
  Append(element);
  if (observer_) observer_->ElementAt(element, tag_line_, tag_column_);
  XmlAttribute** attribute_link = XmlTreeBuilder::FirstAttributeLink(element);
  for (;;) {
    char16_t unit;
    result = NextNonSpace(unit);
    if (result != kOk) return result;
    if (IsNameStart(unit)) {
      result = ReadAttribute(unit);
      if (result != kOk) return result;
      // Duplicates are kept; lookups find the first.
      XmlAttribute* attribute = XmlTreeBuilder::CreateAttribute(name_.Units(), name_.Length(),
                                                                value_.Units(), value_.Length());
      if (!attribute) return kOutOfMemory;
      *attribute_link = attribute;
      attribute_link = XmlTreeBuilder::NextAttributeLink(attribute);
      continue;
    }
    if (unit == u'>') return Push(element);
    if (unit != u'/') return kSyntaxError;
    result = NextInMarkup(unit);
    if (result != kOk) return result;
    return unit == u'>' ? kOk : kSyntaxError;
  }
}

// After "</": the name follows at once and must be the open element's.
Result XmlParser::ParseEndTag() noexcept {
  char16_t unit;
  Result result = NextInMarkup(unit);
  if (result != kOk) return result;
  if (!IsNameStart(unit)) return kSyntaxError;
  result = ReadName(unit, name_);
  if (result != kOk) return result;
  XmlElement* element = open_[depth_ - 1].element;
  if (!XmlTextEquals(element->Name(), name_.Units(), name_.Length())) return kInvalidName;
  result = NextNonSpace(unit);
  if (result != kOk) return result;
  if (unit != u'>') return kInvalidContent;
  XmlTreeBuilder::AdoptSingleText(element);
  --depth_;
  return kOk;
}

// After "<?": only the declaration, and only at top level.
Result XmlParser::ParseProcessingInstruction() noexcept {
  char16_t unit;
  Result result = NextInMarkup(unit);
  if (result != kOk) return result;
  if (!IsNameStart(unit)) return kSyntaxError;
  result = ReadName(unit, name_);
  if (result != kOk) return result;
  if (!BufferEquals(name_, u"xml")) return kSyntaxError;
  return AtTopLevel() ? ParseDeclaration() : kInvalidContent;
}

Result XmlParser::ParseDeclaration() noexcept {
  for (;;) {
    char16_t unit;
    Result result = NextNonSpace(unit);
    if (result != kOk) return result;
    if (IsNameStart(unit)) {
      result = ReadAttribute(unit);
      if (result == kOk) result = ApplyDeclarationAttribute();
      if (result != kOk) return result;
      continue;
    }
    if (unit != u'?') return kSyntaxError;
    result = NextInMarkup(unit);
    if (result != kOk) return result;
    return unit == u'>' ? kOk : kSyntaxError;
  }
}

Result XmlParser::ApplyDeclarationAttribute() noexcept {
  value_.SetLength(CollapseXmlWhiteSpace(value_.Units(), value_.Length()));
  if (BufferEquals(name_, u"version")) {
    const Result result = value_.Append(u'\0');
    if (result != kOk) return result;
    version_ = VersionCode(XmlTextToDouble(value_.Units()));
    return version_ == 256 ? kOk : kBadFormat;
  }
  if (BufferEquals(name_, u"encoding")) {
    // Only a UTF-16 mark makes a UTF-16 document; everything else is read
    // as UTF-8, whatever the declaration names.
    const bool utf16_mark =
        stream_.Mode() == kTextEncodingUtf16Le || stream_.Mode() == kTextEncodingUtf16Be;
    if (BufferEqualsIgnoringCase(value_, u"utf-16")) return utf16_mark ? kOk : kBadFormat;
    if (utf16_mark) return kBadFormat;
    stream_.SetMode(kTextEncodingUtf8);
    return kOk;
  }
  if (BufferEquals(name_, u"standalone")) standalone_ = BufferEquals(value_, u"yes");
  return kOk;
}

// After "<!": a comment or a CDATA section.
Result XmlParser::ParseBang() noexcept {
  char16_t unit;
  Result result = NextInMarkup(unit);
  if (result != kOk) return result;
  if (unit == u'-') {
    result = NextInMarkup(unit);
    if (result != kOk) return result;
    return unit == u'-' ? ParseComment() : kSyntaxError;
  }
  if (unit != u'[') return kSyntaxError;
  result = NextInMarkup(unit);
  if (result != kOk) return result;
  if (!IsNameStart(unit)) return kSyntaxError;
  result = ReadName(unit, name_);
  if (result != kOk) return result;
  if (!BufferEquals(name_, u"CDATA")) return kSyntaxError;
  result = NextInMarkup(unit);
  if (result != kOk) return result;
  return unit == u'[' ? ParseCData() : kSyntaxError;
}

// After "<!--": references are decoded; "--" must end the comment.
Result XmlParser::ParseComment() noexcept {
  text_.Clear();
  for (;;) {
    Result result = reader_.TakeRun(text_, IsPlainComment);
    if (result != kOk) return result;
    char16_t unit;
    result = NextInMarkup(unit);
    if (result != kOk) return result;
    if (unit == u'-') {
      char16_t next;
      result = NextInMarkup(next);
      if (result != kOk) return result;
      if (next == u'-') {
        result = NextInMarkup(next);
        if (result != kOk) return result;
        if (next != u'>') return kSyntaxError;
        break;
      }
      reader_.PushBack(next);
      result = text_.Append(u'-');
    } else if (unit == u'&') {
      result = ReadReference(text_, unit);
    } else {
      result = text_.Append(unit);
    }
    if (result != kOk) return result;
  }
  const uint32_t length = NormalizeXmlComment(text_.Units(), text_.Length());
  XmlElement* node = XmlTreeBuilder::CreateText(XmlValueKind::kComment, text_.Units(), length);
  text_.Clear();
  if (!node) return kOutOfMemory;
  Append(node);
  return kOk;
}

// After "<![CDATA[": everything up to the first "]]>" as it stands.
Result XmlParser::ParseCData() noexcept {
  text_.Clear();
  uint32_t brackets = 0;  // ']' seen and not yet known to be text
  for (;;) {
    Result result = kOk;
    if (brackets == 0) result = reader_.TakeRun(text_, IsPlainCData);
    if (result != kOk) return result;
    char16_t unit;
    result = NextInMarkup(unit);
    if (result != kOk) return result;
    if (unit == u']') {
      ++brackets;
      continue;
    }
    const bool ends = unit == u'>' && brackets >= 2;
    for (; brackets > (ends ? 2u : 0u); --brackets) {
      result = text_.Append(u']');
      if (result != kOk) return result;
    }
    brackets = 0;
    if (ends) break;
    result = text_.Append(unit);
    if (result != kOk) return result;
  }
  XmlElement* node =
      XmlTreeBuilder::CreateText(XmlValueKind::kCData, text_.Units(), text_.Length());
  text_.Clear();
  if (!node) return kOutOfMemory;
  Append(node);
  return kOk;
}

// Comments aside, the top level holds exactly one element.
Result XmlParser::CheckDocument(const XmlElement* nodes) const noexcept {
  uint32_t elements = 0;
  for (const XmlElement* node = nodes; node; node = node->NextNode()) {
    if (node->Kind() == XmlValueKind::kComment) continue;
    if (!node->Name()) return kInvalidContent;
    ++elements;
  }
  return elements == 1 ? kOk : kInvalidContent;
}

}  // namespace vorn
