#include "xml/xml_element.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "xml/xml_text.h"
#include "xml/xml_tree_builder.h"

namespace vorn {
// An element and its name share one heap block: the name follows the node.
XmlElement* XmlElement::Create(const char16_t* name, uint32_t length) noexcept {
  const size_t name_bytes = name ? (size_t{length} + 1) * sizeof(char16_t) : 0;
  void* block = std::malloc(sizeof(XmlElement) + name_bytes);
  if (!block) return nullptr;
  XmlElement* element = new (block) XmlElement();
  if (!name) return element;
  element->name_ = reinterpret_cast<char16_t*>(element + 1);
  std::memcpy(element->name_, name, length * sizeof(char16_t));
  element->name_[length] = 0;
  return element;
}

XmlElement* XmlElement::Create(const char16_t* name) noexcept {
  return Create(name, TextLength(name));
}

void XmlElement::FreeOwnData() noexcept {
  for (XmlAttribute* attribute = attributes_; attribute;) {
    XmlAttribute* next = attribute->next_;
    std::free(attribute);
    attribute = next;
  }
  attributes_ = nullptr;
  ClearValue();
}

// Children are spliced in front of the nodes still to be freed, so the walk
// needs no stack however deep the tree is. Each child list is scanned once
// to find its tail: linear in the size of the tree.
void XmlElement::Destroy(XmlElement* element) noexcept {
  if (!element) return;
  element->next_sibling_ = nullptr;
  XmlElement* pending = element;
  while (pending) {
    XmlElement* node = pending;
    if (node->first_child_) {
      XmlElement* last = node->first_child_;
      while (last->next_sibling_) last = last->next_sibling_;
      last->next_sibling_ = node->next_sibling_;
      pending = node->first_child_;
    } else {
      pending = node->next_sibling_;
    }
    node->FreeOwnData();
    node->~XmlElement();
    std::free(node);
  }
}

XmlElement* XmlElement::FirstChild() const noexcept {
  XmlElement* child = first_child_;
  while (child && child->kind_ == XmlValueKind::kComment) child = child->next_sibling_;
  return child;
}

XmlElement* XmlElement::NextSibling() const noexcept {
  XmlElement* sibling = next_sibling_;
  while (sibling && sibling->kind_ == XmlValueKind::kComment) sibling = sibling->next_sibling_;
  return sibling;
}

void XmlElement::InsertFirst(XmlElement* child) noexcept {
  if (!child) return;
  child->next_sibling_ = first_child_;
  first_child_ = child;
}

Result XmlElement::AppendAttribute(const char16_t* name, const char16_t* value) noexcept {
  return AppendAttribute(name, TextLength(name), value, TextLength(value));
}

Result XmlElement::AppendAttribute(const char16_t* name, uint32_t name_length,
                                   const char16_t* value, uint32_t value_length) noexcept {
  if (!name || name_length == 0) return kNullInput;
  XmlAttribute* attribute = XmlTreeBuilder::CreateAttribute(name, name_length, value ? value : u"",
                                                            value ? value_length : 0);
  if (!attribute) return kOutOfMemory;
  XmlAttribute** link = &attributes_;
  while (*link) link = &(*link)->next_;
  *link = attribute;
  return kOk;
}

void XmlElement::ClearValue() noexcept {
  if (HasTextValue()) std::free(value_.text);
  value_.int64 = 0;
  value_.text = nullptr;
  kind_ = XmlValueKind::kNone;
}

XmlElement* XmlTreeBuilder::CreateText(XmlValueKind kind, const char16_t* text,
                                       uint32_t length) noexcept {
  char16_t* copy = CopyXmlText(text, length);
  if (!copy) return nullptr;
  XmlElement* node = XmlElement::Create(nullptr, 0);
  if (!node) {
    std::free(copy);
    return nullptr;
  }
  node->value_.text = copy;
  node->kind_ = kind;
  return node;
}

// Attribute values are stored collapsed wherever they come from, so what
// is written out reads back the same.
XmlAttribute* XmlTreeBuilder::CreateAttribute(const char16_t* name, uint32_t name_length,
                                              const char16_t* value,
                                              uint32_t value_length) noexcept {
  const size_t bytes = sizeof(XmlAttribute) +
                       (size_t{name_length} + 1 + size_t{value_length} + 1) * sizeof(char16_t);
  XmlAttribute* attribute = static_cast<XmlAttribute*>(std::malloc(bytes));
  if (!attribute) return nullptr;
  attribute->next_ = nullptr;
  attribute->name_ = reinterpret_cast<char16_t*>(attribute + 1);
  std::memcpy(attribute->name_, name, name_length * sizeof(char16_t));
  attribute->name_[name_length] = 0;
  attribute->value_ = attribute->name_ + name_length + 1;
  if (value_length > 0) std::memcpy(attribute->value_, value, value_length * sizeof(char16_t));
  const uint32_t collapsed = CollapseXmlWhiteSpace(attribute->value_, value_length);
  attribute->value_[collapsed] = 0;
  return attribute;
}

// Comments beside the text do not make the content mixed: a translator's
// note next to a string must not turn its value into serialized markup.
// They go with the text node, as a value has no place for them.
void XmlTreeBuilder::AdoptSingleText(XmlElement* element) noexcept {
  XmlElement* text = nullptr;
  for (XmlElement* child = element->first_child_; child; child = child->next_sibling_) {
    if (!child->name_ && child->kind_ == XmlValueKind::kComment) continue;
    if (text) return;  // a second node of content
    text = child;
  }
  if (!text || text->name_ || text->attributes_) return;
  if (text->kind_ != XmlValueKind::kText && text->kind_ != XmlValueKind::kCData) return;
  element->ClearValue();
  element->value_.text = text->value_.text;
  element->kind_ = text->kind_;
  text->value_.text = nullptr;
  text->kind_ = XmlValueKind::kNone;
  XmlElement* child = element->first_child_;
  element->first_child_ = nullptr;
  while (child) {
    XmlElement* next = child->next_sibling_;
    XmlElement::Destroy(child);
    child = next;
  }
}

}  // namespace vorn
