// One XML file of a package folder, parsed by the framework's own parser
// (what parses here parses in the installer), remembering where each
// element's start tag lies so that a message can point at it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "xml/xml_document.h"

namespace vornpack {

struct SourcePosition {
  uint32_t line = 1;
  uint32_t column = 1;
};

class XmlSource : private vorn::XmlPositionObserver {
 public:
  XmlSource() = default;
  XmlSource(const XmlSource&) = delete;
  XmlSource& operator=(const XmlSource&) = delete;

  // False when the file cannot be read or does not parse, with the reason
  // in `message` and the place where the parser stopped in `where`.
  bool Load(const std::u16string& disk_path, std::string& message, SourcePosition& where);
  // The root element; null before a successful Load.
  const vorn::XmlElement* Root() const { return document_.RootElement(); }
  // Where the element's start tag begins (line 1, column 1 when unknown).
  SourcePosition PositionOf(const vorn::XmlElement* element) const;

 private:
  void ElementAt(const vorn::XmlElement* element, uint32_t line, uint32_t column) noexcept override;

  vorn::XmlDocument document_;
  std::unordered_map<const vorn::XmlElement*, SourcePosition> positions_;
};

// The element's attribute value, or null when it has none.
const char16_t* AttributeOf(const vorn::XmlElement* element, const char16_t* name);
// The element's own text (its single text value), or "" for none.
std::u16string TextOf(const vorn::XmlElement* element);
// The first child element of that name, or null.
const vorn::XmlElement* ChildNamed(const vorn::XmlElement* element, const char16_t* name);

}  // namespace vornpack
