// Typed reads and writes of element values.
#include <cstdlib>

#include "xml/xml_element.h"
#include "xml/xml_text.h"
#include "xml/xml_writer.h"

namespace vorn {

Result XmlElement::ReadBoolean(bool& value) const noexcept {
  value = false;
  if (kind_ == XmlValueKind::kBoolean) {
    value = value_.boolean;
  } else if (kind_ == XmlValueKind::kText) {
    value = XmlTextIsTrue(value_.text);
  } else {
    return kWrongType;
  }
  return kOk;
}

Result XmlElement::ReadInt32(int32_t& value) const noexcept {
  value = 0;
  if (kind_ == XmlValueKind::kInt32) {
    value = value_.int32;
  } else if (kind_ == XmlValueKind::kText) {
    value = TextToInt32(value_.text);
  } else {
    return kWrongType;
  }
  return kOk;
}

// Text is read with the 64-bit conversion: it agrees with the 32-bit one
// (sign-extended) wherever that one is right, and keeps values beyond 32
// bits instead of wrapping them.
Result XmlElement::ReadInt64(int64_t& value) const noexcept {
  value = 0;
  if (kind_ == XmlValueKind::kInt64) {
    value = value_.int64;
  } else if (kind_ == XmlValueKind::kInt32) {
    value = value_.int32;
  } else if (kind_ == XmlValueKind::kText) {
    value = TextToInt64(value_.text);
  } else {
    return kWrongType;
  }
  return kOk;
}

Result XmlElement::ReadDouble(double& value) const noexcept {
  value = 0.0;
  if (kind_ == XmlValueKind::kFloat32) {
    value = value_.float32;
  } else if (kind_ == XmlValueKind::kFloat64) {
    value = value_.float64;
  } else if (kind_ == XmlValueKind::kText) {
    value = XmlTextToDouble(value_.text);
  } else {
    return kWrongType;
  }
  return kOk;
}

Result XmlElement::ReadFloat(float& value) const noexcept {
  double wide = 0.0;
  const Result result = ReadDouble(wide);
  value = static_cast<float>(wide);
  return result;
}

Result XmlElement::ReadTextPointer(const char16_t*& text) const noexcept {
  text = nullptr;
  if (kind_ == XmlValueKind::kText || kind_ == XmlValueKind::kCData) {
    text = value_.text;
  } else if (kind_ != XmlValueKind::kNone) {
    return kWrongType;
  }
  return kOk;
}

Result XmlElement::ReadText(String* output) const noexcept {
  if (!output) return kNullOutput;
  if (kind_ == XmlValueKind::kNone) return WriteXml(this, 0, output);
  const char16_t* text = nullptr;
  const Result result = ReadTextPointer(text);
  if (result != kOk) {
    *output = String();
    return result;
  }
  *output = text;
  if (output->Length() != TextLength(text)) {
    *output = String();
    return kOutOfMemory;
  }
  return kOk;
}

// The path variants: 29 when the path finds nothing, with the same empty
// output as a failed read.
#define VORN_XML_READ_AT_PATH(Read, Type, empty)                              \
  Result XmlElement::Read(const char16_t* path, Type& value) const noexcept { \
    const XmlElement* element = Find(path);                                   \
    if (!element) {                                                           \
      value = empty;                                                          \
      return kNotFound;                                                       \
    }                                                                         \
    return element->Read(value);                                              \
  }
VORN_XML_READ_AT_PATH(ReadBoolean, bool, false)
VORN_XML_READ_AT_PATH(ReadInt32, int32_t, 0)
VORN_XML_READ_AT_PATH(ReadInt64, int64_t, 0)
VORN_XML_READ_AT_PATH(ReadFloat, float, 0.0f)
VORN_XML_READ_AT_PATH(ReadDouble, double, 0.0)
VORN_XML_READ_AT_PATH(ReadTextPointer, const char16_t*, nullptr)
#undef VORN_XML_READ_AT_PATH

Result XmlElement::ReadText(const char16_t* path, String* output) const noexcept {
  if (!output) return kNullOutput;
  const XmlElement* element = Find(path);
  if (!element) {
    *output = String();
    return kNotFound;
  }
  return element->ReadText(output);
}

Result XmlElement::SetText(const char16_t* text) noexcept {
  char16_t* copy = CopyXmlText(text ? text : u"", TextLength(text));
  if (!copy) return kOutOfMemory;
  ClearValue();
  value_.text = copy;
  kind_ = XmlValueKind::kText;
  return kOk;
}

Result XmlElement::SetBoolean(bool value) noexcept {
  ClearValue();
  value_.boolean = value;
  kind_ = XmlValueKind::kBoolean;
  return kOk;
}

Result XmlElement::SetInt32(int32_t value) noexcept {
  ClearValue();
  value_.int32 = value;
  kind_ = XmlValueKind::kInt32;
  return kOk;
}

Result XmlElement::SetFloat(float value) noexcept {
  ClearValue();
  value_.float32 = value;
  kind_ = XmlValueKind::kFloat32;
  return kOk;
}

#define VORN_XML_SET_AT_PATH(Set, Type)                               \
  Result XmlElement::Set(const char16_t* path, Type value) noexcept { \
    XmlElement* element = nullptr;                                    \
    const Result result = FindOrCreate(path, element);                \
    return result == kOk ? element->Set(value) : result;              \
  }
VORN_XML_SET_AT_PATH(SetText, const char16_t*)
VORN_XML_SET_AT_PATH(SetBoolean, bool)
VORN_XML_SET_AT_PATH(SetInt32, int32_t)
VORN_XML_SET_AT_PATH(SetFloat, float)
#undef VORN_XML_SET_AT_PATH

}  // namespace vorn
