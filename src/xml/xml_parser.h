// The XML parser: one root element with attributes, text, CDATA sections
// and comments, an optional declaration, the five predefined entities and
// numeric character references. It keeps its own stack of open elements,
// so nesting depth is bounded by memory, never by the thread's stack.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "package/text_stream.h"
#include "xml/xml_character_reader.h"
#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {

// Told where each element's start tag begins, for tools that point a reader
// at a line and column of the source. Line and column count from 1; a TAB
// advances the column to the next multiple of 4 first.
class XmlPositionObserver {
 public:
  virtual void ElementAt(const XmlElement* element, uint32_t line, uint32_t column) noexcept = 0;

 protected:
  ~XmlPositionObserver() = default;
};

class XmlParser {
 public:
  explicit XmlParser(TextStream& stream) noexcept : reader_(stream), stream_(stream) {}
  ~XmlParser();
  XmlParser(const XmlParser&) = delete;
  XmlParser& operator=(const XmlParser&) = delete;

  // Parses the whole stream and links the top-level nodes at `*nodes`.
  // Whatever was built stays linked there on failure, for the caller to
  // free.
  Result Parse(XmlElement** nodes) noexcept;

  uint32_t Line() const noexcept { return reader_.Line(); }
  uint32_t Column() const noexcept { return reader_.Column(); }
  void SetPositionObserver(XmlPositionObserver* observer) noexcept { observer_ = observer; }
  uint16_t Version() const noexcept { return version_; }
  bool IsStandalone() const noexcept { return standalone_; }

 private:
  struct OpenElement {
    XmlElement* element;
    XmlElement** link;  // where its next child goes
  };

  bool AtTopLevel() const noexcept { return depth_ == 0; }
  XmlElement**& CurrentLink() noexcept { return depth_ ? open_[depth_ - 1].link : top_link_; }
  void Append(XmlElement* node) noexcept;
  Result Push(XmlElement* element) noexcept;

  Result NextInMarkup(char16_t& unit) noexcept;
  Result NextNonSpace(char16_t& unit) noexcept;
  Result ReadName(char16_t first, XmlTextBuffer& name) noexcept;
  Result ReadReference(XmlTextBuffer& out, char16_t& first) noexcept;

  Result ReadTextRun() noexcept;
  Result FlushText() noexcept;
  Result ParseMarkup() noexcept;
  Result ParseStartTag(char16_t first) noexcept;
  Result ParseEndTag() noexcept;
  Result ParseProcessingInstruction() noexcept;
  Result ParseDeclaration() noexcept;
  Result ApplyDeclarationAttribute() noexcept;
  Result ParseBang() noexcept;
  Result ParseComment() noexcept;
  Result ParseCData() noexcept;
  Result ReadAttribute(char16_t first) noexcept;
  Result CheckDocument(const XmlElement* nodes) const noexcept;

  XmlCharacterReader reader_;
  TextStream& stream_;
  XmlTextBuffer text_;
  XmlTextBuffer name_;
  XmlTextBuffer value_;
  XmlElement** top_link_ = nullptr;
  OpenElement* open_ = nullptr;
  uint32_t depth_ = 0;
  uint32_t open_capacity_ = 0;
  uint16_t version_ = 256;
  bool standalone_ = true;
  XmlPositionObserver* observer_ = nullptr;
  uint32_t tag_line_ = 1;  // where the markup being parsed began
  uint32_t tag_column_ = 1;
};

}  // namespace vorn
