#include "xml/xml_document.h"

#include "package/memory_stream.h"
#include "package/text_stream.h"
#include "xml/xml_parser.h"

namespace vorn {

void XmlDocument::FreeNodes() noexcept {
  while (nodes_) {
    XmlElement* next = nodes_->NextNode();
    XmlElement::Destroy(nodes_);
    nodes_ = next;
  }
}

void XmlDocument::Clear() noexcept {
  FreeNodes();
  line_ = 1;
  column_ = 0;
  version_ = 256;
  standalone_ = true;
}

Result XmlDocument::Parse(Stream* stream) noexcept {
  Clear();
  if (!stream) return kNullInput;
  TextStream text(stream);
  XmlParser parser(text);
  parser.SetPositionObserver(observer_);
  const Result result = parser.Parse(&nodes_);
  line_ = parser.Line();
  column_ = parser.Column();
  if (result != kOk) {
    FreeNodes();
    return result;
  }
  version_ = parser.Version();
  standalone_ = parser.IsStandalone();
  return kOk;
}

Result XmlDocument::Parse(const void* data, uint64_t length) noexcept {
  Clear();
  if (!data) return kNullInput;
  if (length == 0) return kInvalidSize;
  MemoryStream memory(data, length);
  return Parse(&memory);
}

XmlElement* XmlDocument::RootElement() const noexcept {
  for (XmlElement* node = nodes_; node; node = node->NextNode()) {
    if (node->Name()) return node;
  }
  return nullptr;
}

}  // namespace vorn
