// Formatted text: the small markup the licence page and other rich edits
// show ("b", "a" with "href", "p" with "align", "ul", "li", "br"), turned into
// plain text with character runs, paragraph formats and links, ready to be
// applied to any rich-text control.
//
// The text is parsed as the content of one element, so it must be
// well-formed XML; when it is not, Parse fails and the previous content is
// kept, so that a control never shows half a text. Elements may nest as deep
// as memory allows: the conversion keeps its own stack.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class XmlElement;

enum class ParagraphAlignment : uint32_t { kLeft = 1, kRight = 2, kCenter = 3 };

// Spacing in twips (1/1440 inch), as rich-text controls take it.
constexpr uint32_t kParagraphSpaceAfter = 128;
constexpr uint32_t kListItemSpaceAfter = 32;
constexpr uint32_t kBulletOffset = 128;

// One paragraph of Text(): its units from `start`, without the line feed that
// ends every paragraph but the last.
struct FormattedParagraph {
  uint32_t start;
  uint32_t length;
  ParagraphAlignment alignment;
  uint32_t space_after;  // twips
  bool bulleted;
  uint32_t bullet_offset;  // hanging indent of a bulleted paragraph, twips
};

// Units of Text() with one character format. Line feeds belong to no run.
struct FormattedRun {
  uint32_t start;
  uint32_t length;
  bool bold;
  int32_t link;  // index of the link the run belongs to, -1 for none
};

struct FormattedLink {
  uint32_t start;
  uint32_t length;
  uint32_t target_start;  // the "href" value, in Targets()
  uint32_t target_length;
};

class FormattedText {
 public:
  FormattedText() noexcept = default;
  ~FormattedText();
  FormattedText(const FormattedText&) = delete;
  FormattedText& operator=(const FormattedText&) = delete;

  // Converts the markup. 15 for a null text, 12 out of memory, or the XML
  // parser's code for a text that is not well-formed; on any failure the
  // content stays as it was.
  Result Parse(const char16_t* markup) noexcept;
  // The same from an element already parsed: its content is converted.
  Result Convert(const XmlElement* element) noexcept;
  void Clear() noexcept;

  // Paragraphs separated by line feeds (U+000A).
  const String& Text() const noexcept { return text_; }
  uint32_t ParagraphCount() const noexcept { return paragraph_count_; }
  const FormattedParagraph& Paragraph(uint32_t index) const noexcept { return paragraphs_[index]; }
  uint32_t RunCount() const noexcept { return run_count_; }
  const FormattedRun& Run(uint32_t index) const noexcept { return runs_[index]; }
  uint32_t LinkCount() const noexcept { return link_count_; }
  const FormattedLink& Link(uint32_t index) const noexcept { return links_[index]; }
  String LinkTarget(uint32_t index) const noexcept;
  // The link whose text holds the unit at `position`, -1 for none.
  int32_t LinkAt(uint32_t position) const noexcept;

  void Swap(FormattedText& other) noexcept;

 private:
  friend class FormattedTextBuilder;

  String text_;
  String targets_;
  FormattedParagraph* paragraphs_ = nullptr;
  uint32_t paragraph_count_ = 0;
  uint32_t paragraph_capacity_ = 0;
  FormattedRun* runs_ = nullptr;
  uint32_t run_count_ = 0;
  uint32_t run_capacity_ = 0;
  FormattedLink* links_ = nullptr;
  uint32_t link_count_ = 0;
  uint32_t link_capacity_ = 0;
};

// Replaces the content of a rich-edit control (a "RichEdit20W" window
// handle) with the formatted text: bold runs, links with the link effect,
// paragraph alignment, space after and bullets. Redrawing is off while the
// text is written, the selection ends cleared at the start, and the control
// is redrawn. 35 for a null handle; 2 without a window system.
Result ShowFormattedText(void* rich_edit, const FormattedText& text) noexcept;

}  // namespace vorn
