#include "xml/support/xml_test_support.h"

#include <vector>

#include "foundation/string.h"

namespace vorn {

std::string ToUtf8(const char16_t* text) {
  if (!text) return "(null)";
  Utf8Text utf8(text);
  return std::string(utf8.Text(), utf8.Length());
}

std::u16string ToUtf16(const std::string& utf8) {
  const String text = Utf8ToString(utf8.data(), utf8.size());
  return std::u16string(text.Text(), text.Length());
}

Result ParseText(XmlDocument& document, const std::string& text, TestEncoding encoding) {
  std::vector<unsigned char> bytes;
  switch (encoding) {
    case TestEncoding::kUtf8:
      bytes.assign(text.begin(), text.end());
      break;
    case TestEncoding::kUtf8WithMark:
      bytes = {0xEF, 0xBB, 0xBF};
      bytes.insert(bytes.end(), text.begin(), text.end());
      break;
    case TestEncoding::kUtf16LeWithMark:
    case TestEncoding::kUtf16BeWithMark: {
      const bool little = encoding == TestEncoding::kUtf16LeWithMark;
      bytes =
          little ? std::vector<unsigned char>{0xFF, 0xFE} : std::vector<unsigned char>{0xFE, 0xFF};
      // Byte by byte so that a 0 byte of the source survives as a 0 unit.
      for (char16_t unit : ToUtf16(text)) {
        const unsigned char low = unit & 0xFF, high = unit >> 8;
        bytes.push_back(little ? low : high);
        bytes.push_back(little ? high : low);
      }
      break;
    }
  }
  return document.Parse(bytes.data(), bytes.size());
}

namespace {

void DescribeInto(const XmlElement* node, std::string& out) {
  const char16_t* text = node->ValueText();
  if (!node->Name()) {
    switch (node->Kind()) {
      case XmlValueKind::kText:
        out += "\"" + ToUtf8(text) + "\"";
        return;
      case XmlValueKind::kCData:
        out += "[" + ToUtf8(text) + "]";
        return;
      case XmlValueKind::kComment:
        out += "<!" + ToUtf8(text) + ">";
        return;
      default:
        out += "?";
        return;
    }
  }
  out += ToUtf8(node->Name());
  if (node->FirstAttribute()) {
    out += "(";
    for (const XmlAttribute* a = node->FirstAttribute(); a; a = a->Next()) {
      out += ToUtf8(a->Name()) + "=" + ToUtf8(a->Value());
      if (a->Next()) out += ",";
    }
    out += ")";
  }
  switch (node->Kind()) {
    case XmlValueKind::kNone:
      break;
    case XmlValueKind::kText:
      out += "=\"" + ToUtf8(text) + "\"";
      break;
    case XmlValueKind::kCData:
      out += "=[" + ToUtf8(text) + "]";
      break;
    default:
      out += "=#" + std::to_string(static_cast<int>(node->Kind()));
      break;
  }
  if (node->FirstNode()) {
    out += "{";
    for (const XmlElement* child = node->FirstNode(); child; child = child->NextNode()) {
      DescribeInto(child, out);
      if (child->NextNode()) out += " ";
    }
    out += "}";
  }
}

}  // namespace

std::string Describe(const XmlElement* element) {
  if (!element) return "(null)";
  std::string out;
  DescribeInto(element, out);
  return out;
}

std::string DescribeDocument(const XmlDocument& document) {
  std::string out;
  for (const XmlElement* node = document.FirstNode(); node; node = node->NextNode()) {
    if (!out.empty()) out += " ";
    DescribeInto(node, out);
  }
  return out;
}

}  // namespace vorn
