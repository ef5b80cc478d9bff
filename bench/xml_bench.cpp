// Parsing a 16 MiB document shaped like the package's files (elements with
// attributes, text, comments, references) into a tree, in UTF-8 and in
// UTF-16 LE, against expat building an equivalent tree (element nodes with
// attribute lists, text and comment children) in the same run. Ratios are
// expat's time over ours: 1.0 is parity.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "xml/xml_document.h"
#include "xml/xml_element.h"

#ifdef VORN_HAVE_EXPAT
#include <expat.h>
#endif

namespace {

constexpr size_t kDocumentBytes = 16u << 20;
constexpr int kRuns = 5;

std::string MakeDocument(const char* encoding) {
  std::string text;
  text.reserve(kDocumentBytes + 4096);
  text += "<?xml version=\"1.0\" encoding=\"";
  text += encoding;
  text += "\"?>\n<!-- Files of the product, generated -->\n";
  text += "<FileList Folder=\"Product\" Version=\"1.2.3\">\n";
  for (int group = 0; text.size() < kDocumentBytes; ++group) {
    const std::string g = std::to_string(group);
    text += "\t<Group Name=\"Group" + g + "\" Target=\"{InstallFolder}\\Data\\" + g + "\">\n";
    text += "\t\t<!-- group " + g + ": pictures &amp; strings -->\n";
    for (int file = 0; file < 12; ++file) {
      const std::string f = std::to_string(group * 12 + file);
      text += "\t\t<File Name=\"Data/Pictures/picture" + f + ".png\" Size=\"" +
              std::to_string(1000 + file * 7919) + "\" Method=\"" + std::to_string(file % 6) +
              "\" Modified=\"2015-06-30T12:34:56Z\">Picture " + f + " &amp; caf\xC3\xA9 &lt;" + f +
              "&gt; costs 5 \xE2\x82\xAC &#233;</File>\n";
    }
    text += "\t\t<Shortcut Name=\"Demo " + g + "\" Target=\"Bin\\Demo.exe\" Desktop=\"1\"/>\n";
    text += "\t</Group>\n";
  }
  text += "</FileList>\n";
  return text;
}

// UTF-16 LE with its mark, from the UTF-8 of MakeDocument (one-, two- and
// three-byte forms only).
std::string ToUtf16Le(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  out.reserve(utf8.size() * 2 + 2);
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    uint32_t unit;
    if (lead < 0x80) {
      unit = lead, i += 1;
    } else if (lead < 0xE0) {
      unit = ((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F), i += 2;
    } else {
      unit = ((lead & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F), i += 3;
    }
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t CountElements(const vorn::XmlElement* root) {
  size_t count = 0;
  std::vector<const vorn::XmlElement*> pending = {root};
  while (!pending.empty()) {
    const vorn::XmlElement* element = pending.back();
    pending.pop_back();
    if (element->Name()) ++count;
    for (const vorn::XmlElement* child = element->FirstNode(); child; child = child->NextNode()) {
      pending.push_back(child);
    }
  }
  return count;
}

// Best of kRuns; the element count proves the tree was built.
double TimeOurs(const std::string& bytes, size_t& elements) {
  double best = 1e30;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    {
      vorn::XmlDocument document;
      if (document.Parse(bytes.data(), bytes.size()) != vorn::kOk) {
        std::fprintf(stderr, "parse failed at %u:%u\n", document.Line(), document.Column());
        std::exit(1);
      }
      if (run == 0) elements = CountElements(document.RootElement());
    }
    const double seconds = Seconds(start);
    if (seconds < best) best = seconds;
  }
  return best;
}

#ifdef VORN_HAVE_EXPAT
// The reference tree: what our tree holds, in std containers.
struct Node {
  std::string name;  // empty for text and comment nodes
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<std::unique_ptr<Node>> children;
  std::string text;
  bool comment = false;
};

struct Builder {
  std::unique_ptr<Node> root;
  std::vector<Node*> open;
  size_t elements = 0;
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  Builder& builder = *static_cast<Builder*>(data);
  auto node = std::make_unique<Node>();
  node->name = name;
  for (const XML_Char** a = attributes; *a; a += 2) node->attributes.emplace_back(a[0], a[1]);
  Node* raw = node.get();
  if (builder.open.empty()) {
    builder.root = std::move(node);
  } else {
    builder.open.back()->children.push_back(std::move(node));
  }
  builder.open.push_back(raw);
  ++builder.elements;
}

void OnEnd(void* data, const XML_Char*) {
  static_cast<Builder*>(data)->open.pop_back();
}

void OnText(void* data, const XML_Char* text, int length) {
  Builder& builder = *static_cast<Builder*>(data);
  if (builder.open.empty()) return;
  auto& children = builder.open.back()->children;
  if (children.empty() || !children.back()->name.empty() || children.back()->comment) {
    children.push_back(std::make_unique<Node>());
  }
  children.back()->text.append(text, length);
}

void OnComment(void* data, const XML_Char* text) {
  Builder& builder = *static_cast<Builder*>(data);
  if (builder.open.empty()) return;
  auto node = std::make_unique<Node>();
  node->text = text;
  node->comment = true;
  builder.open.back()->children.push_back(std::move(node));
}

double TimeExpat(const std::string& bytes, size_t& elements) {
  double best = 1e30;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    {
      Builder builder;
      XML_Parser parser = XML_ParserCreate(nullptr);
      XML_SetUserData(parser, &builder);
      XML_SetElementHandler(parser, OnStart, OnEnd);
      XML_SetCharacterDataHandler(parser, OnText);
      XML_SetCommentHandler(parser, OnComment);
      if (XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) != XML_STATUS_OK) {
        std::fprintf(stderr, "expat: %s\n", XML_ErrorString(XML_GetErrorCode(parser)));
        std::exit(1);
      }
      XML_ParserFree(parser);
      elements = builder.elements;
    }
    const double seconds = Seconds(start);
    if (seconds < best) best = seconds;
  }
  return best;
}
#endif

void Measure(const char* label, const std::string& bytes) {
  size_t ours_elements = 0;
  const double ours = TimeOurs(bytes, ours_elements);
  const double mib = static_cast<double>(bytes.size()) / (1 << 20);
  std::printf("xml_parse_%s_mib_s: %.1f\n", label, mib / ours);
#ifdef VORN_HAVE_EXPAT
  size_t expat_elements = 0;
  const double expat = TimeExpat(bytes, expat_elements);
  if (expat_elements != ours_elements) {
    std::fprintf(stderr, "element counts differ: %zu and %zu\n", ours_elements, expat_elements);
    std::exit(1);
  }
  std::printf("expat_parse_%s_mib_s: %.1f\n", label, mib / expat);
  std::printf("xml_parse_%s_vs_expat: %.2f\n", label, expat / ours);
#endif
}

}  // namespace

int main() {
  const std::string utf8 = MakeDocument("utf-8");
  const std::string utf16 = ToUtf16Le(MakeDocument("utf-16"));
  Measure("utf8", utf8);
  Measure("utf16", utf16);
  return 0;
}
