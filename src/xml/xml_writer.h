// The serializer: an element's content, or the whole element, as XML text.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "xml/xml_element.h"

namespace vorn {

enum XmlWriteOption : uint32_t {
  kXmlWriteComments = 2,  // otherwise comments are dropped
  kXmlWriteIndented = 4,  // a line feed and one TAB per level before each node
  kXmlWriteOwnTags = 8,   // the element's own tags, not only its content
};

// Replaces `output` with the XML text. 15 null element, 23 null output, 3
// for a node whose value kind has no XML form (boolean, number), 12 out of
// memory; the output is empty on failure. Works without recursion.
Result WriteXml(const XmlElement* element, uint32_t options, String* output) noexcept;

}  // namespace vorn
