// XmlDocument: the result of parsing one XML text, owning its top-level
// nodes (comments and the one root element).
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "package/stream.h"
#include "xml/xml_element.h"
#include "xml/xml_parser.h"

namespace vorn {

class XmlDocument {
 public:
  XmlDocument() noexcept = default;
  ~XmlDocument() { Clear(); }
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Parses the stream from its current position, detecting the encoding
  // from a byte-order mark (none: UTF-8). 15 for a null stream. On failure
  // the document is empty and Line and Column tell where the parse stopped.
  Result Parse(Stream* stream) noexcept;
  // The same over a block of memory: 15 for null data, 40 for length 0.
  Result Parse(const void* data, uint64_t length) noexcept;
  // Tells the next parses where each element starts (null: nobody).
  void SetPositionObserver(XmlPositionObserver* observer) noexcept { observer_ = observer; }
  // Frees every node; the diagnostics return to their initial values.
  void Clear() noexcept;

  // The single element among the top-level nodes; null when empty.
  XmlElement* RootElement() const noexcept;
  // The top-level list, comments included.
  XmlElement* FirstNode() const noexcept { return nodes_; }

  uint32_t Line() const noexcept { return line_; }      // from 1
  uint32_t Column() const noexcept { return column_; }  // from 0, TAB stops every 4
  // major * 256 + tenths * 16 + hundredths; 256 is "1.0", the default.
  uint16_t Version() const noexcept { return version_; }
  bool IsStandalone() const noexcept { return standalone_; }

 private:
  void FreeNodes() noexcept;

  XmlElement* nodes_ = nullptr;
  uint32_t line_ = 1;
  uint32_t column_ = 0;
  uint16_t version_ = 256;
  bool standalone_ = true;
  XmlPositionObserver* observer_ = nullptr;
};

}  // namespace vorn
