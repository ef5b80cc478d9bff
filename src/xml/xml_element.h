// XmlElement: every node of a parsed document (elements, text, CDATA and
// comments) with its attributes, its child list and one typed value, and the
// lookups every consumer of the framework's XML descriptions walks with.
#pragma once

#include <cstdint>

#include "foundation/date_time.h"
#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// The kind of an element's value. The numbers are the ones the rest of the
// framework stores and compares.
enum class XmlValueKind : uint32_t {
  kNone = 0,  // content is the children, or the element is empty
  kCData = 1,
  kComment = 2,
  kBoolean = 3,
  kInt32 = 4,
  kInt64 = 6,
  kFloat32 = 8,
  kFloat64 = 9,
  kText = 11,
};

// One attribute; name and value live in the same heap block as the node.
// Values are stored white-space collapsed.
class XmlAttribute {
 public:
  const XmlAttribute* Next() const noexcept { return next_; }
  const char16_t* Name() const noexcept { return name_; }
  const char16_t* Value() const noexcept { return value_; }

 private:
  friend class XmlElement;
  friend class XmlTreeBuilder;
  XmlAttribute* next_;
  char16_t* name_;
  char16_t* value_;
};

class XmlElement {
 public:
  // A new element with a copy of the name (null: a nameless node); null
  // when out of memory.
  static XmlElement* Create(const char16_t* name, uint32_t length) noexcept;
  static XmlElement* Create(const char16_t* name) noexcept;
  // A nameless node holding text of kind kText, kCData or kComment.
  static XmlElement* CreateText(XmlValueKind kind, const char16_t* text, uint32_t length) noexcept;
  // Frees the element, its attributes, its value and its whole subtree;
  // however deep the tree, without recursion. Its siblings are untouched.
  static void Destroy(XmlElement* element) noexcept;

  XmlElement(const XmlElement&) = delete;
  XmlElement& operator=(const XmlElement&) = delete;

  const char16_t* Name() const noexcept { return name_; }
  XmlValueKind Kind() const noexcept { return kind_; }
  // The text of a text, CDATA or comment value; null for other kinds.
  const char16_t* ValueText() const noexcept { return HasTextValue() ? value_.text : nullptr; }

  // Navigation as consumers see it: comments are passed over.
  XmlElement* FirstChild() const noexcept;
  XmlElement* NextSibling() const noexcept;
  // Every node, comments included (the serializer and tree tools).
  XmlElement* FirstNode() const noexcept { return first_child_; }
  XmlElement* NextNode() const noexcept { return next_sibling_; }
  const XmlAttribute* FirstAttribute() const noexcept { return attributes_; }

  // Slash paths ("/User/Global/Language") below this element: each segment
  // takes the first child of that name. A path without the leading '/', with
  // an empty segment or with a segment that matches nothing gives null.
  XmlElement* Find(const char16_t* path) const noexcept;
  // As Find, creating what is missing at the front of its parent's list.
  // 15 for a null path, 31 for a malformed one, 12 out of memory.
  Result FindOrCreate(const char16_t* path, XmlElement*& element) noexcept;
  // Removes the first element the path reaches, with its subtree; a path
  // that reaches nothing is no error. 15 null path, 31 malformed path.
  Result Remove(const char16_t* path) noexcept;

  // Puts a node at the front of the child list (ownership passes here).
  void InsertFirst(XmlElement* child) noexcept;
  // Adds an attribute after the existing ones; 15 null name, 12 no memory.
  Result AppendAttribute(const char16_t* name, const char16_t* value) noexcept;
  Result AppendAttribute(const char16_t* name, uint32_t name_length, const char16_t* value,
                         uint32_t value_length) noexcept;

  // Attributes. A missing attribute gives 38 and the empty output unless
  // the variant takes a default.
  const XmlAttribute* FindAttribute(const char16_t* name) const noexcept;
  Result ReadAttributeText(const char16_t* name, String& value) const noexcept;
  // Missing: the default text, and success.
  Result ReadAttributeText(const char16_t* name, String& value,
                           const char16_t* default_text) const noexcept;
  Result ReadAttributeBoolean(const char16_t* name, bool& value) const noexcept;
  // Missing: the default, with code 38.
  Result ReadAttributeBoolean(const char16_t* name, bool& value, bool default_value) const noexcept;
  Result ReadAttributeUInt16(const char16_t* name, uint16_t& value) const noexcept;
  Result ReadAttributeInt32(const char16_t* name, int32_t& value) const noexcept;
  Result ReadAttributeInt64(const char16_t* name, int64_t& value) const noexcept;
  Result ReadAttributeUInt64(const char16_t* name, uint64_t& value) const noexcept;
  // Optional attributes: a missing one gives 38 and leaves the output as it
  // was, so a default set beforehand stays in place. Numbers follow the
  // text-to-number rules ("0x" hexadecimal, or a sign and decimal digits).
  Result ReadOptionalAttributeText(const char16_t* name, String& value) const noexcept;
  Result ReadOptionalAttributeBoolean(const char16_t* name, bool& value) const noexcept;
  Result ReadOptionalAttributeInt32(const char16_t* name, int32_t& value) const noexcept;
  Result ReadOptionalAttributeFloat(const char16_t* name, float& value) const noexcept;
  // YYYY-MM-DDTHH:MM:SS, then nothing, 'Z', or '.', digits and 'Z'. Any
  // other form or an impossible date: no date and 33.
  Result ReadAttributeDateTime(const char16_t* name, DateTime& value) const noexcept;

  // Typed values. Text (kind kText) converts; another kind gives 39 and the
  // empty output. The path variants give 29 when the path finds nothing.
  Result ReadBoolean(bool& value) const noexcept;
  Result ReadBoolean(const char16_t* path, bool& value) const noexcept;
  Result ReadInt32(int32_t& value) const noexcept;
  Result ReadInt32(const char16_t* path, int32_t& value) const noexcept;
  Result ReadInt64(int64_t& value) const noexcept;
  Result ReadInt64(const char16_t* path, int64_t& value) const noexcept;
  Result ReadFloat(float& value) const noexcept;
  Result ReadFloat(const char16_t* path, float& value) const noexcept;
  Result ReadDouble(double& value) const noexcept;
  Result ReadDouble(const char16_t* path, double& value) const noexcept;
  // Text and CDATA give their text; no value gives null and success.
  Result ReadTextPointer(const char16_t*& text) const noexcept;
  Result ReadTextPointer(const char16_t* path, const char16_t*& text) const noexcept;
  // The value's text, or for an element without a value its content as XML
  // markup. 23 for a null output.
  Result ReadText(String* output) const noexcept;
  Result ReadText(const char16_t* path, String* output) const noexcept;

  // Setting replaces any earlier value; the path variants find or create
  // the element first. A null text sets the empty text.
  Result SetText(const char16_t* text) noexcept;
  Result SetText(const char16_t* path, const char16_t* text) noexcept;
  Result SetBoolean(bool value) noexcept;
  Result SetBoolean(const char16_t* path, bool value) noexcept;
  Result SetInt32(int32_t value) noexcept;
  Result SetInt32(const char16_t* path, int32_t value) noexcept;
  Result SetFloat(float value) noexcept;
  Result SetFloat(const char16_t* path, float value) noexcept;

 private:
  friend class XmlTreeBuilder;
  XmlElement() noexcept = default;
  ~XmlElement() = default;
  bool HasTextValue() const noexcept {
    return kind_ == XmlValueKind::kText || kind_ == XmlValueKind::kCData ||
           kind_ == XmlValueKind::kComment;
  }
  void ClearValue() noexcept;
  void FreeOwnData() noexcept;
  XmlElement* FindChild(const char16_t* name, uint32_t length) const noexcept;

  XmlAttribute* attributes_ = nullptr;
  XmlElement* first_child_ = nullptr;
  XmlElement* next_sibling_ = nullptr;
  char16_t* name_ = nullptr;
  union {
    char16_t* text;
    bool boolean;
    int32_t int32;
    int64_t int64;
    float float32;
    double float64;
  } value_ = {nullptr};
  XmlValueKind kind_ = XmlValueKind::kNone;
};

// The boolean reading of a text: after leading spaces (U+0020 only), "1" or
// "true" in any letter case begins it.
bool XmlTextIsTrue(const char16_t* text) noexcept;

}  // namespace vorn
