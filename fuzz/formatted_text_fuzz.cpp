// Formatted text from arbitrary UTF-16 units. A text that converts must give
// a consistent model: paragraphs that tile the text between line feeds, runs
// and links inside it, runs without line feeds. A text that does not convert
// must leave the previous content exactly as it was.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/string.h"
#include "ui/formatted_text.h"

namespace {

using vorn::FormattedText;
using vorn::kOk;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckModel(const FormattedText& text) {
  const uint32_t length = text.Text().Length();
  Check(text.ParagraphCount() >= 1);
  uint32_t expected_start = 0;
  for (uint32_t i = 0; i < text.ParagraphCount(); ++i) {
    const vorn::FormattedParagraph& p = text.Paragraph(i);
    Check(p.start == expected_start && p.start + p.length <= length);
    const bool last = i + 1 == text.ParagraphCount();
    Check(last ? p.start + p.length == length : text.Text()[p.start + p.length] == u'\n');
    expected_start = p.start + p.length + 1;
  }
  for (uint32_t i = 0; i < text.RunCount(); ++i) {
    const vorn::FormattedRun& run = text.Run(i);
    Check(run.length > 0 && run.start + run.length <= length);
    Check(run.link < static_cast<int32_t>(text.LinkCount()));
    for (uint32_t u = run.start; u < run.start + run.length; ++u) Check(text.Text()[u] != u'\n');
  }
  for (uint32_t i = 0; i < text.LinkCount(); ++i) {
    const vorn::FormattedLink& link = text.Link(i);
    Check(link.start + link.length <= length);
    text.LinkTarget(i);
    if (link.length) Check(text.LinkAt(link.start) >= static_cast<int32_t>(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char16_t> units;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  units.push_back(0);

  FormattedText text;
  Check(text.Parse(u"<p align=\"center\">kept <b>as</b> <a href=\"x\">it was</a></p>") == kOk);
  const vorn::String before = text.Text();
  const uint32_t runs = text.RunCount(), links = text.LinkCount();
  if (text.Parse(units.data()) == kOk) {
    CheckModel(text);
  } else {
    Check(text.Text() == before && text.RunCount() == runs && text.LinkCount() == links);
    CheckModel(text);
  }
  return 0;
}
