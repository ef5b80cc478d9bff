// Helpers for the XML tests: parsing literal texts in a chosen encoding and
// a compact, readable description of a tree to compare against.
#pragma once

#include <string>

#include "foundation/result.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vorn {

enum class TestEncoding { kUtf8, kUtf8WithMark, kUtf16LeWithMark, kUtf16BeWithMark };

// `text` is UTF-8 source; it is re-encoded as asked before parsing.
Result ParseText(XmlDocument& document, const std::string& text,
                 TestEncoding encoding = TestEncoding::kUtf8);

// name(attr=value,...)=value{children}; text nodes as "text", CDATA as
// [text], comments as <!text>, typed values as #kind.
std::string Describe(const XmlElement* element);
std::string DescribeDocument(const XmlDocument& document);

std::string ToUtf8(const char16_t* text);
std::u16string ToUtf16(const std::string& utf8);

}  // namespace vorn
