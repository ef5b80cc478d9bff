#include "xml_source.h"

#include <vector>

#include "file_ops.h"

namespace vornpack {

bool XmlSource::Load(const std::u16string& disk_path, std::string& message, SourcePosition& where) {
  positions_.clear();
  std::vector<uint8_t> bytes;
  vorn::Result r = ReadWholeFile(disk_path, bytes);
  if (r != vorn::kOk) {
    message = "cannot read the file (error " + std::to_string(r) + ")";
    return false;
  }
  document_.SetPositionObserver(this);
  r = bytes.empty() ? vorn::kInvalidSize : document_.Parse(bytes.data(), bytes.size());
  document_.SetPositionObserver(nullptr);
  if (r != vorn::kOk) {
    positions_.clear();
    message = "not an XML document the installer can read (error " + std::to_string(r) + ")";
    where.line = document_.Line();
    where.column = document_.Column();
    return false;
  }
  return true;
}

SourcePosition XmlSource::PositionOf(const vorn::XmlElement* element) const {
  const auto found = positions_.find(element);
  return found == positions_.end() ? SourcePosition{} : found->second;
}

void XmlSource::ElementAt(const vorn::XmlElement* element, uint32_t line,
                          uint32_t column) noexcept {
  positions_[element] = SourcePosition{line, column};
}

const char16_t* AttributeOf(const vorn::XmlElement* element, const char16_t* name) {
  const vorn::XmlAttribute* attribute = element->FindAttribute(name);
  return attribute == nullptr ? nullptr : attribute->Value();
}

std::u16string TextOf(const vorn::XmlElement* element) {
  const char16_t* text = nullptr;
  if (element->ReadTextPointer(text) != vorn::kOk || text == nullptr) return {};
  return text;
}

const vorn::XmlElement* ChildNamed(const vorn::XmlElement* element, const char16_t* name) {
  for (const vorn::XmlElement* child = element->FirstChild(); child; child = child->NextSibling()) {
    if (child->Name() != nullptr && std::u16string(child->Name()) == name) return child;
  }
  return nullptr;
}

}  // namespace vornpack
