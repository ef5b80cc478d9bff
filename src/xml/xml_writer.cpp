#include "xml/xml_writer.h"

#include <cstdlib>

namespace vorn {
namespace {

// Output into a String that grows geometrically: String's own growth adds
// a constant, which would make a large document quadratic to write.
class XmlOutput {
 public:
  explicit XmlOutput(String& text) noexcept : text_(text) {}

  Result result() const noexcept { return result_; }
  bool IsEmpty() const noexcept { return text_.IsEmpty(); }

  void Append(const char16_t* units, uint32_t count) noexcept {
    if (result_ != kOk || count == 0 || !MakeRoom(count)) return;
    text_.Append(units, count);
  }
  void Append(const char16_t* text) noexcept { Append(text, TextLength(text)); }
  void Append(char16_t unit) noexcept { Append(&unit, 1); }
  void AppendTabs(uint32_t count) noexcept {
    static constexpr char16_t kTabs[] = u"\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    constexpr uint32_t kRun = sizeof kTabs / sizeof kTabs[0] - 1;
    for (; count > kRun; count -= kRun) Append(kTabs, kRun);
    Append(kTabs, count);
  }

 private:
  bool MakeRoom(uint32_t count) noexcept {
    const uint64_t needed = uint64_t{text_.Length()} + count;
    if (needed + 1 <= text_.Capacity()) return true;
    if (needed >= UINT32_MAX / 2) {
      result_ = kInvalidSize;
      return false;
    }
    uint64_t room = uint64_t{text_.Capacity()} * 2;
    if (room < needed) room = needed;
    if (room >= UINT32_MAX / 2) room = needed;
    if (!text_.Reserve(static_cast<uint32_t>(room))) {
      result_ = kOutOfMemory;
      return false;
    }
    return true;
  }

  String& text_;
  Result result_ = kOk;
};

// Character data: the five markup characters become entities. Line-end
// characters that the reader would turn into a line feed (they can only
// have come from references) are written as references again, so the text
// reads back as it is.
void AppendEscapedText(XmlOutput& out, const char16_t* text) noexcept {
  const char16_t* run = text;
  for (const char16_t* p = text;; ++p) {
    const char16_t* replacement = nullptr;
    switch (*p) {
      case 0:
        out.Append(run, static_cast<uint32_t>(p - run));
        return;
      case u'&':
        replacement = u"&amp;";
        break;
      case u'<':
        replacement = u"&lt;";
        break;
      case u'>':
        replacement = u"&gt;";
        break;
      case u'"':
        replacement = u"&quot;";
        break;
      case u'\'':
        replacement = u"&apos;";
        break;
      case u'\r':
        replacement = u"&#13;";
        break;
      case 0x85:
        replacement = u"&#133;";
        break;
      case 0x2028:
        replacement = u"&#8232;";
        break;
      default:
        continue;
    }
    out.Append(run, static_cast<uint32_t>(p - run));
    out.Append(replacement);
    run = p + 1;
  }
}

// Attribute values: the quote, and '&' and '<' so that the output is XML
// that reads back (a bare '&' would start a reference).
void AppendEscapedAttribute(XmlOutput& out, const char16_t* value) noexcept {
  const char16_t* run = value;
  for (const char16_t* p = value;; ++p) {
    const char16_t* replacement = nullptr;
    switch (*p) {
      case 0:
        out.Append(run, static_cast<uint32_t>(p - run));
        return;
      case u'"':
        replacement = u"&quot;";
        break;
      case u'&':
        replacement = u"&amp;";
        break;
      case u'<':
        replacement = u"&lt;";
        break;
      default:
        continue;
    }
    out.Append(run, static_cast<uint32_t>(p - run));
    out.Append(replacement);
    run = p + 1;
  }
}

// Comment text is read with references decoded, so an '&' in it came from
// one and goes back as one.
void AppendComment(XmlOutput& out, const char16_t* text) noexcept {
  out.Append(u"<!--");
  const char16_t* run = text;
  for (const char16_t* p = text; *p; ++p) {
    if (*p != u'&') continue;
    out.Append(run, static_cast<uint32_t>(p - run));
    out.Append(u"&amp;");
    run = p + 1;
  }
  out.Append(run);
  out.Append(u"-->");
}

// A "]]>" inside the text would end the section early: it is split across
// two sections.
void AppendCData(XmlOutput& out, const char16_t* text) noexcept {
  out.Append(u"<![CDATA[");
  const char16_t* run = text;
  for (const char16_t* p = text; *p; ++p) {
    if (p[0] == u']' && p[1] == u']' && p[2] == u'>') {
      out.Append(run, static_cast<uint32_t>(p + 2 - run));
      out.Append(u"]]><![CDATA[");
      run = p + 2;
    }
  }
  out.Append(run);
  out.Append(u"]]>");
}

bool IsWritableKind(XmlValueKind kind) noexcept {
  return kind == XmlValueKind::kNone || kind == XmlValueKind::kCData ||
         kind == XmlValueKind::kComment || kind == XmlValueKind::kText;
}

// The walk keeps its own stack of open elements, so the depth of a tree is
// bounded by memory, not by the thread's stack.
class TreeWriter {
 public:
  TreeWriter(XmlOutput& out, uint32_t options) noexcept : out_(out), options_(options) {}
  ~TreeWriter() { std::free(frames_); }
  TreeWriter(const TreeWriter&) = delete;
  TreeWriter& operator=(const TreeWriter&) = delete;

  Result Write(const XmlElement* start) noexcept {
    Result result;
    if (options_ & kXmlWriteOwnTags) {
      result = WriteNode(start, 0);
    } else if (!IsWritableKind(start->Kind())) {
      result = kBadFormat;
    } else if (start->ValueText()) {
      result = WriteValue(start);
    } else {
      result = Push(start, 0, false);
    }
    while (result == kOk && count_ > 0) {
      Frame& frame = frames_[count_ - 1];
      const XmlElement* child = Writable(frame.next);
      if (!child) {
        const Frame done = frame;
        --count_;
        if (done.own_tags) CloseElement(done);
        continue;
      }
      frame.next = child->NextNode();
      frame.wrote_children = true;
      result = WriteNode(child, frame.child_depth);
    }
    return result != kOk ? result : out_.result();
  }

 private:
  struct Frame {
    const XmlElement* element;
    const XmlElement* next;
    uint32_t child_depth;
    bool own_tags;
    bool wrote_children;
  };

  // Comments are passed over unless they are to be written.
  const XmlElement* Writable(const XmlElement* node) const noexcept {
    if (options_ & kXmlWriteComments) return node;
    while (node && node->Kind() == XmlValueKind::kComment) node = node->NextNode();
    return node;
  }

  void Indent(uint32_t depth) noexcept {
    if (!(options_ & kXmlWriteIndented)) return;
    if (!out_.IsEmpty()) out_.Append(u'\n');
    out_.AppendTabs(depth);
  }

  // An element's own value inside its tags.
  Result WriteValue(const XmlElement* element) noexcept {
    if (element->Kind() == XmlValueKind::kCData) {
      // Written as CDATA again, so that it keeps its kind and any white
      // space that plain text would lose on the next reading.
      AppendCData(out_, element->ValueText());
    } else {
      AppendEscapedText(out_, element->ValueText());
    }
    return kOk;
  }

  Result WriteNode(const XmlElement* node, uint32_t depth) noexcept {
    const XmlValueKind kind = node->Kind();
    if (!IsWritableKind(kind)) return kBadFormat;
    if (!node->Name()) {
      if (!node->ValueText()) return kOk;  // a bare nameless node has no form
      Indent(depth);
      if (kind == XmlValueKind::kComment) {
        AppendComment(out_, node->ValueText());
      } else if (kind == XmlValueKind::kCData) {
        AppendCData(out_, node->ValueText());
      } else {
        AppendEscapedText(out_, node->ValueText());
      }
      return kOk;
    }
    Indent(depth);
    out_.Append(u'<');
    out_.Append(node->Name());
    for (const XmlAttribute* attribute = node->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
      out_.Append(u' ');
      out_.Append(attribute->Name());
      out_.Append(u"=\"");
      AppendEscapedAttribute(out_, attribute->Value());
      out_.Append(u'"');
    }
    if (node->ValueText()) {
      out_.Append(u'>');
      WriteValue(node);
      CloseTag(node);
      return kOk;
    }
    if (!Writable(node->FirstNode())) {
      out_.Append(u"/>");
      return kOk;
    }
    out_.Append(u'>');
    return Push(node, depth + 1, true);
  }

  void CloseElement(const Frame& frame) noexcept {
    if (frame.wrote_children) Indent(frame.child_depth - 1);
    CloseTag(frame.element);
  }

  void CloseTag(const XmlElement* element) noexcept {
    out_.Append(u"</");
    out_.Append(element->Name());
    out_.Append(u'>');
  }

  Result Push(const XmlElement* element, uint32_t child_depth, bool own_tags) noexcept {
    if (count_ == capacity_) {
      const uint32_t capacity = capacity_ ? capacity_ * 2 : 64;
      void* grown = std::realloc(frames_, size_t{capacity} * sizeof(Frame));
      if (!grown) return kOutOfMemory;
      frames_ = static_cast<Frame*>(grown);
      capacity_ = capacity;
    }
    frames_[count_++] = {element, element->FirstNode(), child_depth, own_tags, false};
    return kOk;
  }

  XmlOutput& out_;
  const uint32_t options_;
  Frame* frames_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};

}  // namespace

Result WriteXml(const XmlElement* element, uint32_t options, String* output) noexcept {
  if (!output) return kNullOutput;
  if (!element) {
    *output = String();
    return kNullInput;
  }
  String text;
  XmlOutput out(text);
  TreeWriter writer(out, options);
  const Result result = writer.Write(element);
  if (result != kOk) {
    *output = String();
    return result;
  }
  *output = static_cast<String&&>(text);
  return kOk;
}

}  // namespace vorn
