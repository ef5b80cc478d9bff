// The parser's direct access to the tree under construction: it links nodes
// and attributes at the tail of their lists in O(1) and hands finished texts
// over without copying them twice.
#pragma once

#include <cstdint>

#include "xml/xml_element.h"

namespace vorn {

class XmlTreeBuilder {
 public:
  static XmlElement** FirstChildLink(XmlElement* element) noexcept {
    return &element->first_child_;
  }
  static XmlElement** NextSiblingLink(XmlElement* element) noexcept {
    return &element->next_sibling_;
  }
  static XmlAttribute** FirstAttributeLink(XmlElement* element) noexcept {
    return &element->attributes_;
  }
  static XmlAttribute** NextAttributeLink(XmlAttribute* attribute) noexcept {
    return &attribute->next_;
  }
  // A nameless node holding a copy of the text; null when out of memory.
  static XmlElement* CreateText(XmlValueKind kind, const char16_t* text, uint32_t length) noexcept;
  // Name and value live in the attribute's own heap block.
  static XmlAttribute* CreateAttribute(const char16_t* name, uint32_t name_length,
                                       const char16_t* value, uint32_t value_length) noexcept;
  // An element whose whole content, comments aside, is one text or CDATA
  // node takes that text as its own value; the node and the comments go.
  static void AdoptSingleText(XmlElement* element) noexcept;
};

}  // namespace vorn
