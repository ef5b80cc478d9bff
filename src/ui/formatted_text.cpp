#include "ui/formatted_text.h"

#include <cstdlib>
#include <cstring>

#include "ui/control_defaults_values.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vorn {

namespace {

template <class T>
bool Grow(T*& items, uint32_t& capacity, uint32_t needed) noexcept {
  if (needed <= capacity) return true;
  uint64_t wanted = capacity ? uint64_t{capacity} * 2 : 16;
  if (wanted < needed) wanted = needed;
  if (wanted > UINT32_MAX / sizeof(T)) return false;
  void* grown = std::realloc(items, static_cast<size_t>(wanted) * sizeof(T));
  if (!grown) return false;
  items = static_cast<T*>(grown);
  capacity = static_cast<uint32_t>(wanted);
  return true;
}

bool Named(const XmlElement* element, const char16_t* name) noexcept {
  return SameAttributeText(element->Name(), name);
}

bool IsSpace(char16_t unit) noexcept {
  return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

enum class Markup { kOther, kBold, kLink, kParagraph, kList, kListItem, kBreak };

Markup MarkupOf(const XmlElement* element) noexcept {
  if (Named(element, u"b")) return Markup::kBold;
  if (Named(element, u"a")) return Markup::kLink;
  if (Named(element, u"p")) return Markup::kParagraph;
  if (Named(element, u"ul")) return Markup::kList;
  if (Named(element, u"li")) return Markup::kListItem;
  if (Named(element, u"br")) return Markup::kBreak;
  return Markup::kOther;
}

struct ParagraphFormat {
  ParagraphAlignment alignment = ParagraphAlignment::kLeft;
  uint32_t space_after = 0;
  bool bulleted = false;
};

}  // namespace

// Walks the element tree in document order with its own stack of open
// elements and writes into a FormattedText.
//
// Formats behave as in a rich-text control: a paragraph format applies to
// the paragraph being written, and a new paragraph starts with the format of
// the one before it. Leaving a "p", "li" or "ul" gives the next paragraph
// back the format that held before the element, so that a centred title or
// a list does not centre or bullet everything after it.
class FormattedTextBuilder {
 public:
  FormattedTextBuilder(FormattedText& out, uint32_t expected_length) noexcept : out_(out) {
    out_.text_.Reserve(expected_length);
  }
  ~FormattedTextBuilder() { std::free(frames_); }
  FormattedTextBuilder(const FormattedTextBuilder&) = delete;
  FormattedTextBuilder& operator=(const FormattedTextBuilder&) = delete;

  Result Build(const XmlElement* root) noexcept {
    Result result = Enter(root, /*is_root=*/true);
    while (result == kOk && depth_ > 0) {
      Frame& frame = frames_[depth_ - 1];
      const XmlElement* child = frame.next;
      if (!child) {
        result = Leave();
        continue;
      }
      frame.next = child->NextSibling();
      if (child->Name()) {
        result = Enter(child, false);
      } else {
        result = Content(child);
      }
    }
    if (result == kOk) result = EndParagraph();
    return result;
  }

 private:
  struct Frame {
    const XmlElement* next;  // the next child to visit
    Markup markup;
    ParagraphFormat saved;  // the format before the element
    bool saved_bold;
    int32_t saved_link;
  };

  Result Enter(const XmlElement* element, bool is_root) noexcept {
    Result result = WritePendingLineEnd();
    if (result != kOk) return result;
    if (!Grow(frames_, frame_capacity_, depth_ + 1)) return kOutOfMemory;
    Frame& frame = frames_[depth_++];
    frame.next = element->FirstChild();
    frame.markup = is_root ? Markup::kOther : MarkupOf(element);
    frame.saved = carry_;
    frame.saved_bold = bold_;
    frame.saved_link = link_;
    switch (frame.markup) {
      case Markup::kBold:
        bold_ = true;
        break;
      case Markup::kLink:
        result = BeginLink(element);
        break;
      case Markup::kParagraph:
        current_.space_after = carry_.space_after = kParagraphSpaceAfter;
        current_.alignment = carry_.alignment = AlignmentOf(element);
        break;
      case Markup::kList:
        current_.bulleted = carry_.bulleted = true;
        break;
      case Markup::kListItem:
        current_.space_after = carry_.space_after = kListItemSpaceAfter;
        break;
      default:
        break;
    }
    if (result != kOk) return result;
    // An element whose whole content is one text holds it as its value.
    if (!frame.next) return Content(element);
    return kOk;
  }

  Result Leave() noexcept {
    const Frame frame = frames_[--depth_];
    bold_ = frame.saved_bold;
    switch (frame.markup) {
      case Markup::kLink: {
        FormattedLink& link = out_.links_[link_];
        link.length = out_.text_.Length() - link.start;
        link_ = frame.saved_link;
        break;
      }
      case Markup::kList:
        current_.space_after = kParagraphSpaceAfter;
        carry_ = frame.saved;
        break;
      case Markup::kParagraph:
      case Markup::kListItem:
        carry_ = frame.saved;
        pending_line_end_ = true;
        break;
      case Markup::kBreak:
        pending_line_end_ = true;
        break;
      default:
        break;
    }
    return kOk;
  }

  static ParagraphAlignment AlignmentOf(const XmlElement* element) noexcept {
    const XmlAttribute* align = element->FindAttribute(u"align");
    if (!align) return ParagraphAlignment::kLeft;
    if (SameAttributeText(align->Value(), u"right")) return ParagraphAlignment::kRight;
    if (SameAttributeText(align->Value(), u"center")) return ParagraphAlignment::kCenter;
    return ParagraphAlignment::kLeft;
  }

  Result BeginLink(const XmlElement* element) noexcept {
    if (!Grow(out_.links_, out_.link_capacity_, out_.link_count_ + 1)) return kOutOfMemory;
    const XmlAttribute* href = element->FindAttribute(u"href");
    const String target(href ? href->Value() : u"");
    const uint32_t before = out_.targets_.Length();
    out_.targets_.Append(target);
    if (out_.targets_.Length() != before + target.Length()) return kOutOfMemory;
    FormattedLink& link = out_.links_[out_.link_count_];
    link.start = out_.text_.Length();
    link.length = 0;
    link.target_start = before;
    link.target_length = target.Length();
    link_ = static_cast<int32_t>(out_.link_count_++);
    return kOk;
  }

  // Text and CDATA values; other kinds (comments) show nothing.
  Result Content(const XmlElement* node) noexcept {
    const char16_t* text = nullptr;
    if (node->ReadTextPointer(text) != kOk || !text || !*text) return kOk;
    Result result = WritePendingLineEnd();
    if (result != kOk) return result;
    // Runs of blanks and line ends are one space, as in HTML: line ends come
    // from the markup, not from how the source text happened to be wrapped.
    const char16_t* at = text;
    while (*at) {
      if (IsSpace(*at)) {
        while (IsSpace(*at)) ++at;
        if (!AtParagraphStart() && out_.text_[out_.text_.Length() - 1] != u' ') {
          result = Append(u" ", 1);
        }
      } else {
        const char16_t* word = at;
        while (*at && !IsSpace(*at)) ++at;
        result = Append(word, static_cast<uint32_t>(at - word));
      }
      if (result != kOk) return result;
    }
    return kOk;
  }

  bool AtParagraphStart() const noexcept { return out_.text_.Length() == paragraph_start_; }

  Result Append(const char16_t* units, uint32_t count) noexcept {
    const uint32_t start = out_.text_.Length();
    out_.text_.Append(units, count);
    if (out_.text_.Length() != start + count) return kOutOfMemory;
    if (out_.run_count_ > 0) {
      FormattedRun& last = out_.runs_[out_.run_count_ - 1];
      if (last.start + last.length == start && last.bold == bold_ && last.link == link_) {
        last.length += count;
        return kOk;
      }
    }
    if (!Grow(out_.runs_, out_.run_capacity_, out_.run_count_ + 1)) return kOutOfMemory;
    out_.runs_[out_.run_count_++] = {start, count, bold_, link_};
    return kOk;
  }

  Result WritePendingLineEnd() noexcept {
    if (!pending_line_end_) return kOk;
    pending_line_end_ = false;
    Result result = EndParagraph();
    if (result != kOk) return result;
    const uint32_t length = out_.text_.Length();
    out_.text_.Append(u'\n');
    if (out_.text_.Length() != length + 1) return kOutOfMemory;
    paragraph_start_ = length + 1;
    current_ = carry_;
    return kOk;
  }

  Result EndParagraph() noexcept {
    if (!Grow(out_.paragraphs_, out_.paragraph_capacity_, out_.paragraph_count_ + 1)) {
      return kOutOfMemory;
    }
    out_.paragraphs_[out_.paragraph_count_++] = {
        paragraph_start_,   out_.text_.Length() - paragraph_start_,
        current_.alignment, current_.space_after,
        current_.bulleted,  current_.bulleted ? kBulletOffset : 0,
    };
    return kOk;
  }

  FormattedText& out_;
  Frame* frames_ = nullptr;
  uint32_t depth_ = 0;
  uint32_t frame_capacity_ = 0;
  ParagraphFormat current_;  // the paragraph being written
  ParagraphFormat carry_;    // what the next paragraph starts with
  bool bold_ = false;
  int32_t link_ = -1;
  bool pending_line_end_ = false;
  uint32_t paragraph_start_ = 0;
};

FormattedText::~FormattedText() {
  Clear();
}

void FormattedText::Clear() noexcept {
  text_ = String();
  targets_ = String();
  std::free(paragraphs_);
  std::free(runs_);
  std::free(links_);
  paragraphs_ = nullptr;
  runs_ = nullptr;
  links_ = nullptr;
  paragraph_count_ = paragraph_capacity_ = 0;
  run_count_ = run_capacity_ = 0;
  link_count_ = link_capacity_ = 0;
}

void FormattedText::Swap(FormattedText& other) noexcept {
  String text = static_cast<String&&>(text_);
  text_ = static_cast<String&&>(other.text_);
  other.text_ = static_cast<String&&>(text);
  String targets = static_cast<String&&>(targets_);
  targets_ = static_cast<String&&>(other.targets_);
  other.targets_ = static_cast<String&&>(targets);
  auto swap = [](auto& a, auto& b) {
    auto t = a;
    a = b;
    b = t;
  };
  swap(paragraphs_, other.paragraphs_);
  swap(paragraph_count_, other.paragraph_count_);
  swap(paragraph_capacity_, other.paragraph_capacity_);
  swap(runs_, other.runs_);
  swap(run_count_, other.run_count_);
  swap(run_capacity_, other.run_capacity_);
  swap(links_, other.links_);
  swap(link_count_, other.link_count_);
  swap(link_capacity_, other.link_capacity_);
}

Result FormattedText::Convert(const XmlElement* element) noexcept {
  if (!element) return kNullInput;
  FormattedText converted;
  FormattedTextBuilder builder(converted, 0);
  const Result result = builder.Build(element);
  if (result == kOk) Swap(converted);
  return result;
}

Result FormattedText::Parse(const char16_t* markup) noexcept {
  if (!markup) return kNullInput;
  // The markup as the content of one element, in UTF-16 with its mark so
  // that the parser takes the units as they are.
  static constexpr char16_t kOpen[] = u"\uFEFF<XmlText>";
  static constexpr char16_t kClose[] = u"</XmlText>";
  static constexpr uint32_t kWrapping = 20;  // both tags and the mark
  uint32_t markup_length = 0;
  while (markup[markup_length]) ++markup_length;
  String document;
  if (markup_length > UINT32_MAX - kWrapping - 1 || !document.Reserve(markup_length + kWrapping)) {
    return kOutOfMemory;
  }
  document.Append(kOpen);
  document.Append(markup, markup_length);
  document.Append(kClose);
  XmlDocument parsed;
  Result result = parsed.Parse(document.Text(), uint64_t{document.Length()} * sizeof(char16_t));
  if (result != kOk) return result;
  const XmlElement* root = parsed.RootElement();
  if (!root) return kInvalidContent;
  FormattedText converted;
  FormattedTextBuilder builder(converted, markup_length);
  result = builder.Build(root);
  if (result == kOk) Swap(converted);
  return result;
}

String FormattedText::LinkTarget(uint32_t index) const noexcept {
  if (index >= link_count_) return String();
  return String(targets_.Text() + links_[index].target_start, links_[index].target_length);
}

int32_t FormattedText::LinkAt(uint32_t position) const noexcept {
  // Inner links are recorded after the ones that hold them: the last match
  // is the innermost.
  int32_t found = -1;
  for (uint32_t i = 0; i < link_count_; ++i) {
    if (position >= links_[i].start && position - links_[i].start < links_[i].length) {
      found = static_cast<int32_t>(i);
    }
  }
  return found;
}

}  // namespace vorn
