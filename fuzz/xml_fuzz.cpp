// XML parsing of arbitrary bytes. A document that parses must also write
// (every parsed kind has an XML form), and what is written must parse
// again into the same tree: names, attributes, kinds, values, child order.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "foundation/string.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"
#include "xml/xml_writer.h"

namespace {

using vorn::kOk;
using vorn::String;
using vorn::XmlAttribute;
using vorn::XmlDocument;
using vorn::XmlElement;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool SameText(const char16_t* a, const char16_t* b) {
  if (!a || !b) return a == b;
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

bool SameNode(const XmlElement* a, const XmlElement* b) {
  if (!SameText(a->Name(), b->Name()) || a->Kind() != b->Kind() ||
      !SameText(a->ValueText(), b->ValueText())) {
    return false;
  }
  const XmlAttribute* x = a->FirstAttribute();
  const XmlAttribute* y = b->FirstAttribute();
  for (; x && y; x = x->Next(), y = y->Next()) {
    if (!SameText(x->Name(), y->Name()) || !SameText(x->Value(), y->Value())) return false;
  }
  return !x && !y;
}

// Both trees walked side by side without recursion: documents may nest
// deeper than the stack allows.
bool SameTree(const XmlElement* a, const XmlElement* b) {
  std::vector<std::pair<const XmlElement*, const XmlElement*>> pending = {{a, b}};
  while (!pending.empty()) {
    auto [x, y] = pending.back();
    pending.pop_back();
    if (!SameNode(x, y)) return false;
    const XmlElement* cx = x->FirstNode();
    const XmlElement* cy = y->FirstNode();
    for (; cx && cy; cx = cx->NextNode(), cy = cy->NextNode()) pending.emplace_back(cx, cy);
    if (cx || cy) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  XmlDocument document;
  if (document.Parse(data, size) != kOk) {
    Check(document.FirstNode() == nullptr);
    return 0;
  }
  const XmlElement* root = document.RootElement();
  Check(root != nullptr);

  String written;
  Check(vorn::WriteXml(root, vorn::kXmlWriteOwnTags | vorn::kXmlWriteComments, &written) == kOk);
  String indented;
  Check(vorn::WriteXml(root, vorn::kXmlWriteOwnTags | vorn::kXmlWriteIndented, &indented) == kOk);
  String content;
  Check(root->ReadText(&content) == kOk);
  root->Find(u"/a/b");

  // Back as UTF-16 little-endian with its mark: the units exactly as written.
  std::vector<unsigned char> bytes = {0xFF, 0xFE};
  for (uint32_t i = 0; i < written.Length(); ++i) {
    bytes.push_back(static_cast<unsigned char>(written[i] & 0xFF));
    bytes.push_back(static_cast<unsigned char>(written[i] >> 8));
  }
  XmlDocument again;
  Check(again.Parse(bytes.data(), bytes.size()) == kOk);
  Check(SameTree(root, again.RootElement()));
  return 0;
}
