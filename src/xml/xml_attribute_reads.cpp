// Typed reads of attributes: text, boolean, integers and date-times.
#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

// Assigns a text and makes sure it arrived whole: String never reports a
// failed allocation itself.
Result AssignText(String& output, const char16_t* text) noexcept {
  output = text;
  if (output.Length() != TextLength(text)) {
    output = String();
    return kOutOfMemory;
  }
  return kOk;
}

bool ReadDigits(const char16_t* text, uint32_t count, int32_t& value) noexcept {
  value = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    value = value * 10 + (text[i] - u'0');
  }
  return true;
}

// YYYY-MM-DDTHH:MM:SS, optionally followed by 'Z' or by '.', the digits of
// a fraction of a second and 'Z'. Fractions are kept to the microsecond.
bool ParseDateTime(const char16_t* text, DateTime& value) noexcept {
  const uint32_t length = TextLength(text);
  if (length < 19) return false;
  int32_t year, month, day, hours, minutes, seconds;
  if (!ReadDigits(text, 4, year) || text[4] != u'-' || !ReadDigits(text + 5, 2, month) ||
      text[7] != u'-' || !ReadDigits(text + 8, 2, day) || text[10] != u'T' ||
      !ReadDigits(text + 11, 2, hours) || text[13] != u':' || !ReadDigits(text + 14, 2, minutes) ||
      text[16] != u':' || !ReadDigits(text + 17, 2, seconds)) {
    return false;
  }
  int64_t microseconds = 0;
  const char16_t* rest = text + 19;
  if (*rest == u'.') {
    ++rest;
    int64_t scale = 100000;
    const char16_t* digits = rest;
    while (*rest >= u'0' && *rest <= u'9') {
      microseconds += (*rest - u'0') * scale;
      scale /= 10;
      ++rest;
    }
    if (rest == digits || *rest != u'Z') return false;
  }
  if (*rest == u'Z') ++rest;
  if (*rest != 0) return false;
  // An impossible date or time is as malformed as a wrong separator.
  if (!DateTime::IsValidDate(year, month, day) || hours > 23 || minutes > 59 || seconds > 59) {
    return false;
  }
  const int64_t day_number = DateTime::DayNumber(year, month, day);
  const int64_t time_of_day = ((int64_t{hours} * 60 + minutes) * 60 + seconds) * 1000000;
  value = DateTime(day_number * DateTime::kMicrosecondsPerDay + time_of_day + microseconds);
  return true;
}

}  // namespace

bool XmlTextIsTrue(const char16_t* text) noexcept {
  if (!text) return false;
  while (*text == u' ') ++text;
  if (*text == u'1') return true;
  static constexpr char16_t kTrue[] = u"true";
  for (int i = 0; i < 4; ++i) {
    char16_t unit = text[i];
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + (u'a' - u'A'));
    if (unit != kTrue[i]) return false;
  }
  return true;
}

const XmlAttribute* XmlElement::FindAttribute(const char16_t* name) const noexcept {
  if (!name) return nullptr;
  for (const XmlAttribute* attribute = attributes_; attribute; attribute = attribute->next_) {
    if (XmlTextEquals(attribute->name_, name)) return attribute;
  }
  return nullptr;
}

Result XmlElement::ReadAttributeText(const char16_t* name, String& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  if (!attribute) {
    value = String();
    return kInvalidName;
  }
  return AssignText(value, attribute->value_);
}

Result XmlElement::ReadAttributeText(const char16_t* name, String& value,
                                     const char16_t* default_text) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  return AssignText(value, attribute ? attribute->value_ : default_text);
}

Result XmlElement::ReadAttributeBoolean(const char16_t* name, bool& value) const noexcept {
  return ReadAttributeBoolean(name, value, false);
}

Result XmlElement::ReadAttributeBoolean(const char16_t* name, bool& value,
                                        bool default_value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  if (!attribute) {
    value = default_value;
    return kInvalidName;
  }
  value = XmlTextIsTrue(attribute->value_);
  return kOk;
}

Result XmlElement::ReadAttributeUInt16(const char16_t* name, uint16_t& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  value = attribute ? static_cast<uint16_t>(TextToUInt32(attribute->value_)) : 0;
  return attribute ? kOk : kInvalidName;
}

Result XmlElement::ReadAttributeInt32(const char16_t* name, int32_t& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  value = attribute ? TextToInt32(attribute->value_) : 0;
  return attribute ? kOk : kInvalidName;
}

Result XmlElement::ReadAttributeInt64(const char16_t* name, int64_t& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  value = attribute ? TextToInt64(attribute->value_) : 0;
  return attribute ? kOk : kInvalidName;
}

Result XmlElement::ReadAttributeUInt64(const char16_t* name, uint64_t& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  value = attribute ? TextToUInt64(attribute->value_) : 0;
  return attribute ? kOk : kInvalidName;
}

Result XmlElement::ReadOptionalAttributeText(const char16_t* name, String& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  if (!attribute) return kInvalidName;
  return AssignText(value, attribute->value_);
}

Result XmlElement::ReadOptionalAttributeBoolean(const char16_t* name, bool& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  if (!attribute) return kInvalidName;
  value = XmlTextIsTrue(attribute->value_);
  return kOk;
}

Result XmlElement::ReadOptionalAttributeInt32(const char16_t* name, int32_t& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  if (!attribute) return kInvalidName;
  value = TextToInt32(attribute->value_);
  return kOk;
}

Result XmlElement::ReadOptionalAttributeFloat(const char16_t* name, float& value) const noexcept {
  const XmlAttribute* attribute = FindAttribute(name);
  if (!attribute) return kInvalidName;
  value = TextToFloat(attribute->value_);
  return kOk;
}

Result XmlElement::ReadAttributeDateTime(const char16_t* name, DateTime& value) const noexcept {
  value = DateTime();
  const XmlAttribute* attribute = FindAttribute(name);
  if (!attribute) return kInvalidName;
  if (!ParseDateTime(attribute->value_, value)) {
    value = DateTime();
    return kInvalidContent;
  }
  return kOk;
}

}  // namespace vorn
